// MTU searches on a worker thread of their own, so that the dialog keeps answering while
// echoes wait out their timeouts. The thread has its own Windows Sockets and echo
// services, and posts what happens to the dialog's window: kMtuEchoMessage before each
// echo (wparam the percent of the search done, lparam its MTU) and kMtuDoneMessage at the end.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "ping/mtu_finder_view.h"

namespace zv::win32 {

inline constexpr UINT kMtuEchoMessage = WM_APP + 20;
inline constexpr UINT kMtuDoneMessage = WM_APP + 21;

class MtuSearchThread : public ping::MtuSearchRunner {
  public:
    MtuSearchThread() = default;
    // Asks a running search to stop and waits for it: at most one echo's timeout, plus
    // the name resolution and the interface lookup when they are still under way.
    ~MtuSearchThread() override;
    MtuSearchThread(const MtuSearchThread&) = delete;
    MtuSearchThread& operator=(const MtuSearchThread&) = delete;

    // The window the messages go to; set before the first Start.
    void ReportTo(HWND window) { window_ = window; }

    void Start(const std::string& host) override;
    void Cancel() override { cancelled_ = true; }

    // On kMtuDoneMessage: the thread's end, and its result.
    ping::MtuSearchResult TakeResult();

  private:
    void Search(const std::string& host);

    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> cancelled_{false};
    // Written by the thread before it posts kMtuDoneMessage, read after it has ended.
    ping::MtuSearchResult result_;
};

}  // namespace zv::win32
