// The Network Stack window's worker: each read or change runs on a thread of its own
// (there is one at a time), and its answers queue up for the window, which a posted
// kStackAnswerMessage tells to take them. A change holds the change lock for its length.
// At close the window waits a bounded time for a running read; a read that outlasts it (a
// WMI query that hangs) finishes alone, since it shares its state with the thread rather
// than with the window, and writes nothing. A change is always waited for: the window
// stays open while one runs, and each of its steps has a bound of its own.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "main_window/network_stack_source.h"

namespace zv::win32 {

inline constexpr UINT kStackAnswerMessage = WM_APP + 30;
inline constexpr DWORD kStackCloseWaitMs = 3000;

class NetworkStackThread : public main_window::NetworkStackWorker {
  public:
    explicit NetworkStackThread(std::shared_ptr<main_window::NetworkStackSource> source);
    ~NetworkStackThread() override;
    NetworkStackThread(const NetworkStackThread&) = delete;
    NetworkStackThread& operator=(const NetworkStackThread&) = delete;

    // The window the answers go to; set before the first job.
    void ReportTo(HWND window);

    void Read() override;
    void Change(const main_window::StackChangeRequest& request) override;
    // On kStackAnswerMessage: hands the queued answers to the view.
    void DeliverAnswers(main_window::NetworkStackView& view);

    // What the thread shares with the window: the source, and the answers queued.
    struct Shared;

  private:
    using Job = std::function<void(Shared&)>;
    void Start(Job job);

    std::shared_ptr<Shared> shared_;
    HANDLE thread_ = nullptr;
    bool changing_ = false;  // the job last started is a change
};

}  // namespace zv::win32
