#include "outage_scenario.h"

#include "routed_companion.h"

#include <windows.h>

#include <optional>
#include <regex>
#include <string>

#include "support/companion.h"
#include "support/check.h"
#include "support/files.h"
#include "support/message_boxes.h"
#include "support/process.h"
#include "support/sandbox_control.h"
#include "support/screen.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "support/tray_observer.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::e2e {
namespace {

namespace hid = zv::win32::frm_history;

struct SilentPart {
    const char* name;  // of the sandbox's requests "<name>-off"
    const char* where;
    int outage_column;  // its count's place in the history window's "Outages:" line
    COLORREF band;
};

const SilentPart kParts[] = {
    {"gateway", "your network", 1, hid::kYourNetworkColor},
    {"provider", "your provider", 2, hid::kYourProviderColor},
    {"host", "beyond your provider", 3, hid::kBeyondProviderColor},
};

// The tip is shot with the history window away from Wine's tray at the top left of the
// screen, for the README as well. The outage's balloon, which comes with the confirming
// probe, is a tooltip too: the tip is read once it has gone.
void CheckTip(const TrayObserver& tray, HWND history, const std::string& pattern,
              const std::string& shot) {
    SetWindowPos(history, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CheckTrayTip(tray, pattern, shot, 30000);
    SetCursorPos(0, 0);
}

void CheckOutageCounted(HWND history, const SilentPart& part) {
    HWND where = FindControl(history, hid::lblWhere);
    auto count = [&](int column) { return column == part.outage_column ? "[1-9]\\d*" : "0"; };
    E2E_CHECK(WaitForText(where,
                          "Outages.*: your network " + std::string(count(1)) + ", your provider " +
                              count(2) + ", beyond your provider " + count(3) + ".*",
                          60000));
    Sleep(1000);  // the graph is drawn after the text
    const SilentPart& other = kParts[part.outage_column % 3];
    long band = OutageBandColumns(history, part.band, other.band);
    Note("outage band: " + std::to_string(band) + " columns");
    E2E_CHECK(band >= 1);
}

}  // namespace

bool OutageScenario(const Arguments& words) {
    const SilentPart* part = nullptr;
    for (const SilentPart& candidate : kParts) {
        part = words.size() == 1 && words[0] == candidate.name ? &candidate : part;
    }
    if (part == nullptr) {
        return false;
    }
    SetCompanionOption("ProbeHost", kRoutedProbeHost);
    Companion companion;
    if (!ConnectedToProbeHost(companion)) {
        return true;
    }
    Context in(std::string(part->name) + " silent");
    E2E_CHECK(RequestFromSandbox(std::string(part->name) + "-off"));
    std::string since = R"(not connected since \d\d:\d\d \()" + std::string(part->where) + R"(\))";
    E2E_CHECK(WaitForText(companion.now, "Now: " + since, kOutageSeenMs));
    CheckOutageCounted(companion.history, *part);
    bool readme = std::string(part->name) == "provider";
    RequestScreenshot(readme ? "vigilo-history-outage"
                             : std::string("vigilo-history-") + part->name);
    CheckTip(companion.tray, companion.history, "Zorvane - " + since,
             readme ? "vigilo-outage-tip" : std::string("vigilo-tip-") + part->name);
    return true;
}

// The host answered echoes before, so a connect as quick as they were is no proxy's; the
// sandbox's times are too close to tell a quicker one apart.
void TcpFallbackScenario() {
    SetCompanionOption("LogFile", 1);
    Companion companion;
    if (!E2E_CHECK(companion.history != nullptr)) {
        return;
    }
    {
        Context in("probe host set in Options");
        SetWindowTextA(FindControl(companion.history, hid::txtHost), kRoutedProbeHost);
        PostClick(companion.history, hid::cmdApply);
        std::optional<MessageBoxSeen> box = WaitForMessageBox(companion.process.id(), 2000);
        E2E_CHECK(!box.has_value());
        E2E_CHECK(WaitForText(companion.now, kConnected, 60000));
    }
    Context in("echoes ignored, port 443 open");
    E2E_CHECK(RequestFromSandbox("host-tcp-only"));
    const std::string state = R"(reachable by TCP only( \(may be a proxy\))?, connect \d+ ms)";
    E2E_CHECK(WaitForText(companion.now, "Now: " + state, 90000));
    RequestScreenshot("vigilo-history-tcp");
    CheckTip(companion.tray, companion.history, "Zorvane - " + state + ".*", "vigilo-tip-tcp");
    std::optional<std::string> log = ReadWholeFile(LogPath());
    if (E2E_CHECK(log.has_value())) {
        E2E_CHECK(std::regex_search(
            *log, std::regex(R"(probe\.zorvane\.test \d+ ms \(TCP only.*; loss)")));
    }
}

// The gateway stands in for the host from the start: every connect is its own, and no echo
// ever came back, so the link is only "reachable by TCP only (may be a proxy)" and the
// echoes count as lost; once it lets go, the host's echoes come back.
void PortalScenario() {
    SetCompanionOption("ProbeHost", kRoutedProbeHost);
    E2E_CHECK(RequestFromSandbox("portal-on"));
    Companion companion;
    if (!E2E_CHECK(companion.history != nullptr)) {
        return;
    }
    {
        Context in("the gateway answers TCP for the host");
        const std::string state = R"(reachable by TCP only \(may be a proxy\), connect \d+ ms)";
        E2E_CHECK(WaitForText(companion.now, "Now: " + state, 60000));
        E2E_CHECK(WaitForText(FindControl(companion.history, hid::lblLoss),
                              R"(Loss: 100% \(\d+ lost probes? of \d+\).*)", 5000));
        E2E_CHECK(WaitForText(FindControl(companion.history, hid::lblRoundTrip),
                              R"(Round trip: no replies; TCP only: \d+ probes?, median connect )"
                              R"(\d+ ms)",
                              5000));
        CheckTip(companion.tray, companion.history, "Zorvane - " + state + ".*",
                 "vigilo-tip-portal");
    }
    Context in("the portal lets go");
    E2E_CHECK(RequestFromSandbox("portal-off"));
    E2E_CHECK(WaitForText(companion.now, kConnected, 60000));
}

// Routers that never say a time to live ran out are passed over: with the gateway mute,
// the provider's router one hop further still answers, and the host's silence lies
// beyond the provider.
void MuteGatewayScenario() {
    SetCompanionOption("ProbeHost", kRoutedProbeHost);
    Companion companion;
    if (!ConnectedToProbeHost(companion)) {
        return;
    }
    Context in("gateway mute, host silent");
    E2E_CHECK(RequestFromSandbox("gateway-mute"));
    E2E_CHECK(RequestFromSandbox("host-off"));
    E2E_CHECK(WaitForText(companion.now,
                          R"(Now: not connected since \d\d:\d\d \(beyond your provider\))",
                          kOutageSeenMs));
}

// The name server goes silent on a working link: the host's last address still answers,
// which is the name service's trouble and no loss.
void NameLostScenario() {
    SetCompanionOption("ProbeHost", kRoutedProbeHost);
    SetCompanionOption("LogFile", 1);
    Companion companion;
    if (!ConnectedToProbeHost(companion)) {
        return;
    }
    Context in("names lost, name server silent");
    E2E_CHECK(RequestFromSandbox("names-lost"));
    const std::string state = R"(name lookup failed \(link up\), \d+ ms)";
    E2E_CHECK(WaitForText(companion.now, "Now: " + state, 90000));
    E2E_CHECK(WaitForText(FindControl(companion.history, hid::lblLoss),
                          R"(Loss: 0% \(0 lost probes of \d+\).*)", 5000));
    CheckTip(companion.tray, companion.history, "Zorvane - " + state + ".*",
             "vigilo-tip-name-lookup");
    std::optional<std::string> log = ReadWholeFile(LogPath());
    if (E2E_CHECK(log.has_value())) {
        E2E_CHECK(std::regex_search(
            *log, std::regex(R"(probe\.zorvane\.test \d+ ms \(name lookup failed\); loss 0%)")));
    }
}

}  // namespace zv::e2e
