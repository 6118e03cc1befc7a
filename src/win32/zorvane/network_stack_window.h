// The real Network Stack window over its controller: the findings with their Fix buttons,
// the rows in a list that asks for the text it draws, and the row of controls below. It
// opens at once; the rows fill in from its worker thread. Close, Esc and the title bar's
// close box all ask the controller, which keeps the window open while a change runs.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "main_window/network_stack_source.h"
#include "main_window/network_stack_view.h"
#include "win32/ui/small_dialog.h"
#include "win32/ui/win_ports.h"
#include "win32/zorvane/network_stack_thread.h"

namespace zv::win32 {

class NetworkStackWindow : public SmallDialog {
  public:
    // Shows the window modally and returns once it is closed.
    static void ShowModal(HWND owner, std::shared_ptr<main_window::NetworkStackSource> source);

  private:
    explicit NetworkStackWindow(std::shared_ptr<main_window::NetworkStackSource> source);
    bool Build(HWND owner);
    std::vector<int> ColumnWidths() const;
    HFONT ListFont() const;
    void AddList();
    void ShowRowCount();
    void OnListNotice(NMHDR* header);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnDpiChanged(int dpi, RECT& suggested) override;

    // Declared first, so that they outlive the controller that starts its jobs.
    NetworkStackThread worker_;
    Win32MessageBox messages_;
    main_window::NetworkStackView view_;
    HWND list_ = nullptr;
};

}  // namespace zv::win32
