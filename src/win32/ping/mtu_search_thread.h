// MTU searches on a worker thread of their own, so that the dialog keeps answering while
// echoes wait out their timeouts. The thread has its own Windows Sockets and echo
// services, and posts what happens to the dialog's window: kMtuEchoMessage before each
// echo (wparam the percent of the search done, lparam its MTU) and kMtuDoneMessage at the end.
// "Use for This Adapter" runs on such a thread too (it starts netsh), and ends with
// kMtuAdapterMessage.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "ping/mtu_finder_view.h"

namespace zv::win32 {

inline constexpr UINT kMtuEchoMessage = WM_APP + 20;
inline constexpr UINT kMtuDoneMessage = WM_APP + 21;
inline constexpr UINT kMtuAdapterMessage = WM_APP + 22;

// Sets the IPv4 MTU of the adapter that routes to the address; returns the outcome's line.
// Runs on the worker thread.
using SetAdapterMtu = std::function<std::string(uint32_t address, int mtu)>;

class MtuSearchThread : public ping::MtuSearchRunner {
  public:
    explicit MtuSearchThread(SetAdapterMtu set_adapter_mtu)
        : set_adapter_mtu_(std::move(set_adapter_mtu)) {}
    // Asks a running search to stop and waits for it: at most one echo's timeout, plus
    // the name resolution and the interface lookup when they are still under way.
    ~MtuSearchThread() override;
    MtuSearchThread(const MtuSearchThread&) = delete;
    MtuSearchThread& operator=(const MtuSearchThread&) = delete;

    // The window the messages go to; set before the first Start.
    void ReportTo(HWND window) { window_ = window; }

    void Start(const std::string& host) override;
    void Cancel() override { cancelled_ = true; }
    void UseForAdapter(uint32_t address, int mtu) override;

    // On kMtuDoneMessage: the thread's end, and its result.
    ping::MtuSearchResult TakeResult();
    // On kMtuAdapterMessage: the thread's end, and the outcome's line.
    std::string TakeAdapterOutcome();

  private:
    void Search(const std::string& host);
    void SetAdapter();

    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> cancelled_{false};
    // Written by the thread before it posts kMtuDoneMessage, read after it has ended.
    ping::MtuSearchResult result_;
    SetAdapterMtu set_adapter_mtu_;
    uint32_t adapter_address_ = 0;
    int adapter_mtu_ = 0;
    std::string adapter_outcome_;  // as result_
};

}  // namespace zv::win32
