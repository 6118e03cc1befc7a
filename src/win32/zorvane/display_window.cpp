#include "win32/zorvane/display_window.h"

#include "win32/zorvane/zorvane_ids.h"

namespace zv::win32 {

void DisplayWindow::ShowModal(HWND owner, const std::string& net_type_text) {
    DisplayWindow window;
    if (window.Build(owner, net_type_text)) {
        window.RunModal(owner);
    }
}

bool DisplayWindow::Build(HWND owner, const std::string& net_type_text) {
    constexpr DialogShape kShape{frm_display::kClassName, main_window::DisplayView::kWidth,
                                 main_window::DisplayView::kHeight};
    if (!MakeWindow(kShape, dialog_.frmDisplay, owner)) {
        return false;
    }
    AddHeading(dialog_.heading_label, frm_display::heading_label);
    binder().AddLabel(dialog_.explanation_label, frm_display::explanation_label,
                      SS_LEFT | SS_NOPREFIX);
    AddOkButton(dialog_.cmdOK, frm_display::cmdOK);
    dialog_.Load(net_type_text);
    return true;
}

void DisplayWindow::Paint(HDC dc) {
    RECT picture = binder().TwipsToRect(dialog_.kPicture);
    HICON icon = LoadIcon(nullptr, IDI_INFORMATION);
    DrawIconEx(dc, picture.left, picture.top, icon, picture.right - picture.left,
               picture.bottom - picture.top, 0, nullptr, DI_NORMAL);
}

}  // namespace zv::win32
