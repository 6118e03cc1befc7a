#include "ping_driver_support.h"

#include "support/check.h"
#include "win32/ui/window_base.h"

namespace zv::e2e {

ui::MessageAnswer PrintedMessages::Show(const ui::Message& message) {
    ++shown;
    last = message.text;
    Note("message box " + Escape(message.text));
    return ui::MessageAnswer::Ok;
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            win32::DispatchOneMessage(message);
        }
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

}  // namespace zv::e2e
