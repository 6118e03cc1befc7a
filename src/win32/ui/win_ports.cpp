#include "win32/ui/win_ports.h"

#include "win32/ui/focus_keeper.h"
#include "win32/ui/window_base.h"

namespace zv::win32 {
namespace {

UINT IconStyle(ui::MessageIcon icon) {
    switch (icon) {
        case ui::MessageIcon::Information:
            return MB_ICONINFORMATION;
        case ui::MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case ui::MessageIcon::Critical:
            return MB_ICONERROR;
        case ui::MessageIcon::Question:
            return MB_ICONQUESTION;
        default:
            return 0;
    }
}

}  // namespace

ui::MessageAnswer Win32MessageBox::Show(const ui::Message& message) {
    UINT style = MB_APPLMODAL | IconStyle(message.icon) |
                 (message.buttons == ui::MessageButtons::YesNo ? MB_YESNO : MB_OK) |
                 (message.default_button == 2 ? MB_DEFBUTTON2 : MB_DEFBUTTON1);
    int answer = 0;
    {
        FocusReturn focus;
        answer =
            MessageBoxA(GetActiveWindow(), message.text.c_str(), message.caption.c_str(), style);
    }
    switch (answer) {
        case IDYES:
            return ui::MessageAnswer::Yes;
        case IDNO:
            return ui::MessageAnswer::No;
        default:
            return ui::MessageAnswer::Ok;
    }
}

void Win32EventPump::DoEvents() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!DispatchOneMessage(message)) {
            return;
        }
    }
}

}  // namespace zv::win32
