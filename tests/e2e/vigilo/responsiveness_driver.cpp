// Drives the companion's responsiveness test on the sandbox's shaped network (--shaped,
// --servers): the tray menu opens the window, Start asks first (and again, since Wine has no
// cost query: the cost is unknown), and the result must match the link the sandbox built.
//
//   responsiveness_driver bloated   500 KB behind 10 Mbit/s: class Poor, the buffer's
//                                   400 ms added within 20 %, goodput each way 90-102 % of
//                                   the shaped rate, the loaded latency beside Linux ping's
//                                   median under the same download; the result saved, and
//                                   its line in the Connection History window
//   responsiveness_driver managed   12.5 KB: Good or better, the same goodput
//   responsiveness_driver tls       the managed link through the server's configuration
//                                   URL over HTTPS: the TLS variant, its handshakes timed
//   responsiveness_driver cancel    "No" to the cost question starts nothing; Cancel in the
//                                   download stops the test within a second and leaves no
//                                   connection to the host open
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "monitor/rpm_result.h"
#include "support/check.h"
#include "support/companion.h"
#include "support/files.h"
#include "support/linux_tools.h"
#include "support/message_boxes.h"
#include "support/process.h"
#include "support/scenario_runner.h"
#include "support/screen.h"
#include "support/tray_observer.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "win32/vigilo/vigilo_ids.h"

using namespace zv::e2e;
namespace rid = zv::win32::frm_rpm;

namespace {

// Mapped to the host's namespace by the test's sandbox options.
const char kServer[] = "http://nq.zorvane.test";
const char kTlsConfig[] = "https://nq.zorvane.test/.well-known/nq";
constexpr double kShapedBps = 10e6;
constexpr DWORD kTestLimitMs = 60000;

std::string ResultsPath() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\Zorvane\\responsiveness.json";
}

struct Companion {
    TrayObserver tray{VigiloExe()};
    ChildProcess process{AppCommand("vigilo.exe")};
    HWND monitor = WaitForMonitorWindow();
    HWND window = nullptr;

    // The test's window from the tray menu, the server typed in.
    bool Open(const char* server = kServer) {
        if (monitor == nullptr) {
            return false;
        }
        PostMessageA(monitor, WM_COMMAND, zv::win32::frm_vigilo::menu_test_responsiveness, 0);
        window = WaitForWindow({process.id(), rid::kClassName, "Test Responsiveness", true});
        if (window == nullptr) {
            return false;
        }
        SetWindowTextA(FindControl(window, rid::txtServer), server);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(rid::txtServer, EN_CHANGE),
                     reinterpret_cast<LPARAM>(FindControl(window, rid::txtServer)));
        SetCursorPos(0, 0);
        return true;
    }
    // Start, the amount asked about, then the cost: true when the test started.
    bool Start(int cost_answer) {
        PostClick(window, rid::cmdStart);
        std::optional<MessageBoxSeen> amount = WaitForMessageBox(process.id());
        if (!E2E_CHECK(amount.has_value())) {
            return false;
        }
        E2E_CHECK_CONTAINS(amount->text, "up to 250 MB each way (500 MB in all)");
        AnswerMessageBox(*amount, IDYES);
        std::optional<MessageBoxSeen> cost = WaitForMessageBox(process.id());
        if (!E2E_CHECK(cost.has_value())) {
            return false;
        }
        E2E_CHECK_CONTAINS(cost->text, "cannot tell whether this connection is metered");
        AnswerMessageBox(*cost, cost_answer);
        return cost_answer == IDYES;
    }
    std::string Status() const { return WindowText(FindControl(window, rid::lblStatus)); }
    bool WaitForStatus(const std::string& part, DWORD limit_ms) const {
        bool seen = WaitUntil([&] { return Status().find(part) != std::string::npos; }, limit_ms);
        Note("status: " + Status());
        return seen;
    }

    ~Companion() {
        if (window != nullptr) {
            PostMessageA(window, WM_COMMAND, rid::cmdClose, 0);
            WaitForWindowGone(window, 3000);
        }
        if (monitor != nullptr) {
            ExitRemovesIconAndEnds(tray, monitor, process);
        }
    }
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The newest result the companion saved, read as the companion reads it.
std::optional<zv::monitor::rpm::TestResult> SavedResult() {
    std::vector<zv::monitor::rpm::TestResult> results =
        zv::monitor::rpm::ReadResults(ReadWholeFile(ResultsPath()).value_or(""));
    Note(std::to_string(results.size()) + " results in " + ResultsPath());
    if (results.empty()) {
        return std::nullopt;
    }
    return results.back();
}

// The history window's line of the newest result, shot for the README.
void CheckHistoryLine(const Companion& companion, int rpm) {
    namespace hid = zv::win32::frm_history;
    PostMessageA(companion.monitor, WM_COMMAND, zv::win32::frm_vigilo::menu_history, 0);
    HWND history =
        WaitForWindow({companion.process.id(), hid::kClassName, "Connection History", true});
    if (!E2E_CHECK(history != nullptr)) {
        return;
    }
    SetWindowPos(history, HWND_TOP, 300, 40, 0, 0, SWP_NOSIZE);
    std::string line = WindowText(FindControl(history, hid::lblResponsiveness));
    E2E_CHECK_STARTS_WITH(line, "Responsiveness: Poor (" + std::to_string(rpm) + " RPM), +");
    RequestScreenshot("vigilo-history-responsiveness");
    PostMessageA(history, WM_COMMAND, hid::cmdClose, 0);
    WaitForWindowGone(history, 3000);
}

// Goodput cannot exceed the shaped rate: TCP's payload is about 96 % of it, and the upload
// counts only what left its send buffers, not what send() took. Below, Reno's sawtooth
// with a few connections leaves part of the link idle: the upload was seen at 88 % of the
// rate over TLS with other sandboxes on both cores and at 89 % over plain HTTP alone, so
// the floor is 85 %.
void CheckGoodput(const zv::monitor::rpm::RunFigures& f) {
    Note("goodput down " + std::to_string(f.down.goodput_bps) + " on " +
         std::to_string(f.down.connections) + ", up " + std::to_string(f.up.goodput_bps) +
         " bit/s on " + std::to_string(f.up.connections) + " connections");
    E2E_CHECK_BETWEEN(f.down.goodput_bps, 0.85 * kShapedBps, 1.02 * kShapedBps);
    E2E_CHECK_BETWEEN(f.up.goodput_bps, 0.85 * kShapedBps, 1.02 * kShapedBps);
}

enum class Link { kBloated, kManaged, kManagedTls };

// One whole test; with Linux ping beside its download on a bloated link.
void MeasureScenario(Link link) {
    bool bloated = link == Link::kBloated;
    bool tls = link == Link::kManagedTls;
    SetCompanionOption("ProbeHost", "nq.zorvane.test");  // a graph of the same link
    Companion companion;
    if (!E2E_CHECK(companion.Open(tls ? kTlsConfig : kServer)) || !companion.Start(IDYES)) {
        return;
    }
    std::optional<std::vector<double>> ping;
    if (bloated && E2E_CHECK(companion.WaitForStatus("downloads", 20000))) {
        Sleep(4000);  // the queue fills as the connections ramp up
        StartLinuxPing();
        companion.WaitForStatus("uploads", kTestLimitMs);
        ping = StopLinuxPing();
    }
    if (!E2E_CHECK(companion.WaitForStatus("Done", kTestLimitMs))) {
        return;
    }
    std::string shown = WindowText(FindControl(companion.window, rid::lblResult));
    Note(shown);
    RequestScreenshot(bloated ? "vigilo-responsiveness"
                      : tls   ? "vigilo-responsiveness-tls"
                              : "vigilo-responsiveness-managed");
    std::optional<zv::monitor::rpm::TestResult> result = SavedResult();
    if (!E2E_CHECK(result.has_value())) {
        return;
    }
    const zv::monitor::rpm::RunFigures& f = result->figures;
    E2E_CHECK_EQ(result->Variant(), std::string(tls ? "HTTP/1.1 over TLS" : "HTTP/1.1 over TCP"));
    E2E_CHECK_EQ(result->endpoint,
                 std::string(tls ? "https" : "http") + "://nq.zorvane.test/large");
    E2E_CHECK_CONTAINS(shown, std::to_string(f.Rpm()) + " RPM");
    CheckGoodput(f);
    std::string grade = zv::monitor::rpm::GradeText(zv::monitor::rpm::GradeOf(f.Rpm()));
    Note("idle " + std::to_string(f.IdleMs()) + " ms, loaded " + std::to_string(f.LoadedMs()) +
         " ms, added " + std::to_string(f.AddedMs()) + " ms, " + grade);
    if (tls) {
        Note("TLS handshake, idle " + std::to_string(f.idle.tls_ms) + " ms, loaded " +
             std::to_string(f.loaded.tls_ms) + " ms");
        E2E_CHECK(f.idle.tls_ms > 0);
        E2E_CHECK(grade != "Poor");
        return;
    }
    if (!bloated) {
        E2E_CHECK(f.Rpm() >= 1000);
        return;
    }
    E2E_CHECK_EQ(grade, std::string("Poor"));
    // 400 ms is the buffer full; Reno flows halve their windows at each drop, so a drop-tail
    // queue stays below full on average even with a dozen of them: 339-351 ms measured, and
    // Linux ping beside the same download reads as much (checked below). The network's figure,
    // not the method's: the floor is the buffer's less 20 %, and no lower.
    E2E_CHECK_BETWEEN(f.AddedMs(), 320.0, 480.0);
    CheckHistoryLine(companion, f.Rpm());
    if (E2E_CHECK(ping.has_value() && !ping->empty())) {
        double median = Median(*ping);
        double ours = f.down.ms.RoundTripMs(false);
        Note("Linux ping median " + std::to_string(median) + " ms over " +
             std::to_string(ping->size()) + " echoes; ours under download " + std::to_string(ours) +
             " ms");
        E2E_CHECK_BETWEEN(ours, 0.9 * median, 1.1 * median);
    }
}

void CancelScenario() {
    Companion companion;
    if (!E2E_CHECK(companion.Open())) {
        return;
    }
    {
        Context in("no to the cost question");
        companion.Start(IDNO);
        E2E_CHECK(companion.WaitForStatus("Not started", 5000));
    }
    Context in("cancelled in the download");
    if (!companion.Start(IDYES) || !E2E_CHECK(companion.WaitForStatus("downloads", 20000))) {
        return;
    }
    Sleep(3000);
    std::optional<int> loaded = OpenConnectionsToHost();
    Note("connections while loading: " + std::to_string(loaded.value_or(-1)));
    E2E_CHECK(loaded.value_or(0) >= 1);
    DWORD start = GetTickCount();
    PostClick(companion.window, rid::cmdCancel);
    E2E_CHECK(companion.WaitForStatus("Cancelled", 3000));
    DWORD took = GetTickCount() - start;
    Note("cancelled after " + std::to_string(took) + " ms");
    E2E_CHECK(took <= 1000);
    std::optional<int> left = OpenConnectionsToHost();
    E2E_CHECK_EQ(left.value_or(-1), 0);
    E2E_CHECK(!SavedResult().has_value());
}

}  // namespace

int main(int argc, char** argv) {
    return RunNamedScenario({{"bloated", [] { MeasureScenario(Link::kBloated); }},
                             {"managed", [] { MeasureScenario(Link::kManaged); }},
                             {"tls", [] { MeasureScenario(Link::kManagedTls); }},
                             {"cancel", CancelScenario}},
                            argc, argv);
}
