// Checks the driver support on a known program: this driver, started again with
// "--show-box", shows a Yes/No message box and exits with the answer; with
// "--failing-checks", it fails one check of each kind that shows what it searched.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/check.h"
#include "support/files.h"
#include "support/linux_tools.h"
#include "support/message_boxes.h"
#include "support/process.h"
#include "support/scenario_runner.h"
#include "support/screen.h"
#include "support/windows_on_screen.h"

namespace e2e = zv::e2e;

namespace {

const char kCaption[] = "Self Test";
const char kText[] = "First line.\r\nSecond line?";

void ChecksShowWhatTheySearched();

void ChecksTheSupportOnItself() {
    e2e::ChildProcess child("\"" + e2e::DriverPath() + "\" --show-box");
    E2E_CHECK(child.started());
    auto box = e2e::WaitForMessageBox(child.id());
    if (E2E_CHECK(box.has_value())) {
        E2E_CHECK_EQ(box->caption, kCaption);
        E2E_CHECK_EQ(box->text, kText);
        E2E_CHECK_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
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
    ChecksShowWhatTheySearched();
}

// Fails each check that searches a text or a list; the driver reads what they printed.
int FailingChecks() {
    e2e::Tally::Get().report_screen_on_first_failure = false;
    const std::string text = "abc";
    const std::optional<std::string> none;
    const std::vector<std::string> list = {"a", "b"};
    E2E_CHECK_CONTAINS(text, "x");
    E2E_CHECK_LACKS(text, "b");
    E2E_CHECK_STARTS_WITH(none, "a");
    E2E_CHECK_ENDS_WITH(text, "ab");
    E2E_CHECK_EMPTY(list);
    E2E_CHECK_ONE_OF(text.size(), 1u, 2u);
    return e2e::Finish();
}

void ChecksShowWhatTheySearched() {
    e2e::CapturedRun run =
        e2e::RunCommandCapturingOutput("\"" + e2e::DriverPath() + "\" --failing-checks");
    E2E_CHECK_EQ(run.exit_code, std::optional<DWORD>(1));
    for (const char* seen :
         {R"(text contains "x": saw "abc")", R"(text lacks "b": saw "abc")",
          R"(none starts with "a": saw (none))", R"(text ends with "ab": saw "abc")",
          R"(list is empty: saw ["a", "b"])", "text.size() is one of 1u, 2u: saw 3",
          "0 passed, 6 failed"}) {
        E2E_CHECK_CONTAINS(run.output, seen);
    }
}

// On the shaped network (--shaped managed --servers): Linux ping measures the link while
// iperf3 loads it, and both report back through the control folder.
void RunsLinuxToolsBesideTheProgram() {
    E2E_CHECK(e2e::StartLinuxPing());
    E2E_CHECK(e2e::StartLinkLoad(e2e::LinkDirection::kDown, 3));
    std::optional<long> kbits = e2e::WaitForLinkLoad(15000);
    std::optional<std::vector<double>> round_trips = e2e::StopLinuxPing();
    if (E2E_CHECK(kbits.has_value()) && E2E_CHECK(round_trips.has_value())) {
        std::printf("goodput %ld kbit/s, %zu round trips\n", *kbits, round_trips->size());
        E2E_CHECK_BETWEEN(*kbits, 9000, 10000);
        E2E_CHECK(round_trips->size() >= 10u);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--show-box") {
        return MessageBoxA(nullptr, kText, kCaption, MB_YESNO | MB_ICONINFORMATION);
    }
    if (argc > 1 && std::string(argv[1]) == "--failing-checks") {
        return FailingChecks();
    }
    return e2e::RunNamedScenario(
        {{"linux_tools", RunsLinuxToolsBesideTheProgram}, {"", ChecksTheSupportOnItself}}, argc,
        argv);
}
