// The real explanation dialog over its controller, shown modally when the user switches
// to the manual mode.
#pragma once

#include <windows.h>

#include <string>

#include "main_window/display_view.h"
#include "win32/ui/small_dialog.h"

namespace zv::win32 {

class DisplayWindow : public SmallDialog {
  public:
    // net_type_text: the text the connection-type list shows now. Returns when closed.
    static void ShowModal(HWND owner, const std::string& net_type_text);

  private:
    DisplayWindow() = default;
    bool Build(HWND owner, const std::string& net_type_text);
    void Paint(HDC dc) override;

    main_window::DisplayView dialog_;
};

}  // namespace zv::win32
