#include "ping_driver_support.h"

#include "support/check.h"
#include "support/files.h"
#include "support/wait.h"
#include "win32/ui/window_base.h"

namespace zv::e2e {

ui::MessageAnswer PrintedMessages::Show(const ui::Message& message) {
    ++shown;
    last = message.text;
    Note("message box " + Escape(message.text));
    return ui::MessageAnswer::Ok;
}

bool SetSandboxEcho(bool answer) {
    std::string control = EnvironmentVariable("ZV_CTL_DIR");
    if (control.empty()) {
        return false;
    }
    std::string base = control + (answer ? "\\echo-on" : "\\echo-off");
    RemoveFile(base + ".done");
    return WriteWholeFile(base + ".req", "") &&
           WaitUntil([&] { return FileIsPresent(base + ".done"); });
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
