// The real Find Largest MTU dialog over its controller: the host, Find, a progress bar, the
// status, "Use for This Adapter", "Use in Manual Mode" and Cancel/Close. The search runs on a
// worker thread that reports back through the window's message queue.
#pragma once

#include <windows.h>

#include <string>

#include "ping/mtu_finder_view.h"
#include "win32/ping/mtu_search_thread.h"
#include "win32/ui/small_dialog.h"
#include "win32/ui/win_ports.h"

namespace zv::win32 {

class MtuFinderWindow : public SmallDialog {
  public:
    // Shows the dialog for the host and returns, once it is closed, the MTU the user chose
    // to use, or 0. "Use for This Adapter" runs set_adapter_mtu on a worker thread.
    static int ShowModal(HWND owner, const std::string& host, SetAdapterMtu set_adapter_mtu);

  private:
    MtuFinderWindow(const std::string& host, SetAdapterMtu set_adapter_mtu);
    bool Build(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

    // Declared first, so that it outlives the controller that starts it.
    MtuSearchThread search_;
    Win32MessageBox messages_;
    ping::MtuFinderView dialog_;
    HWND progress_ = nullptr;
};

}  // namespace zv::win32
