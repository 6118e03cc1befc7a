// The real explanation dialog over its controller, shown modally when the user switches
// to the manual mode.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "shell/display_dialog.h"
#include "win32/ui/binder.h"
#include "win32/ui/window_base.h"

namespace zv::win32 {

class DisplayWindow : public WindowBase {
  public:
    // net_type_text: the text the connection-type list shows now. Returns when closed.
    static void ShowModal(HWND owner, const std::string& net_type_text);

  private:
    DisplayWindow() = default;
    ~DisplayWindow() override;
    bool Build(HWND owner, const std::string& net_type_text);
    void Paint();
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

    shell::DisplayDialog dialog_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HFONT heading_font_ = nullptr;
    std::unique_ptr<Binder> binder_;
};

}  // namespace zv::win32
