// Checks the driver support on a known program: this driver, started again with
// "--show-box", shows a Yes/No message box and exits with the answer.
#include <windows.h>

#include <string>

#include "support/check.h"
#include "support/files.h"
#include "support/message_boxes.h"
#include "support/process.h"
#include "support/scenario_runner.h"
#include "support/screen.h"
#include "support/windows_on_screen.h"

namespace e2e = zv::e2e;

namespace {

const char kCaption[] = "Self Test";
const char kText[] = "First line.\r\nSecond line?";

void ChecksTheSupportOnItself() {
    e2e::ChildProcess child("\"" + e2e::DriverPath() + "\" --show-box");
    E2E_CHECK(child.started());
    auto box = e2e::WaitForMessageBox(child.id());
    if (E2E_CHECK(box.has_value())) {
        E2E_CHECK_EQ(box->caption, kCaption);
        E2E_CHECK_EQ(box->text, kText);
        E2E_CHECK(box->buttons.size() == 2 && box->buttons[0] == IDYES && box->buttons[1] == IDNO);
        e2e::WindowQuery query;
        query.process_id = child.id();
        query.caption = kCaption;
        E2E_CHECK_EQ(e2e::WaitForWindow(query), box->window);
        e2e::PrintWindowsOnScreen();
        E2E_CHECK(e2e::RequestScreenshot("message-box"));
        E2E_CHECK(e2e::AnswerMessageBox(*box, IDNO));
    }
    E2E_CHECK_EQ(child.WaitForExit(), std::optional<DWORD>(IDNO));
    E2E_CHECK(!e2e::WaitForMessageBox(child.id(), 200));

    std::string scratch = e2e::EnvironmentVariable("TEMP") + "\\zv-selftest.txt";
    E2E_CHECK(e2e::WriteWholeFile(scratch, std::string("a\r\nb\0c", 6)));
    E2E_CHECK_EQ(e2e::ReadWholeFile(scratch),
                 std::optional<std::string>(std::string("a\r\nb\0c", 6)));
    E2E_CHECK(e2e::RemoveFile(scratch));
    E2E_CHECK(!e2e::FileIsPresent(scratch));
    E2E_CHECK(!e2e::AppDirectory().empty());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--show-box") {
        return MessageBoxA(nullptr, kText, kCaption, MB_YESNO | MB_ICONINFORMATION);
    }
    return e2e::RunNamedScenario({{"", ChecksTheSupportOnItself}}, argc, argv);
}
