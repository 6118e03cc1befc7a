// On a 9x release: Automatic mode applies a picked connection type at once and writes the
// 9x registry layout; a Manual TTL is written as text; Yes to the question restarts.
#include <string>

#include "fakes/registry_paths.h"
#include "scenarios.h"
#include "support/check.h"
#include "support/files.h"
#include "support/registry_read.h"
#include "support/windows_on_screen.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

using namespace test_keys;

using namespace win32::frm_main;

RegistryValue Text(const std::string& text) {
    return RegistryValue{REG_SZ, text + std::string(1, '\0')};
}

void PickingATypeAppliesItsPreset(ZorvaneSession& z) {
    Context context("automatic pick");
    z.Pick(connection_type_list, 0);  // the type already shown: nothing happens
    E2E_CHECK(z.NoMessageBox(300));
    z.PostPick(connection_type_list, 1);
    z.AnswerChangeMadeRestartLater(kAppliedText);
    E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()),
                 std::string("ConnectionType,1\r\nOptiMode,0\r\n"));
    // The 9x presets: DSL/PPPoE with MTU 1500, x64 and TTL 64.
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kMstcp, "DefaultRcvWindow"), DWORD{93440});
    E2E_CHECK_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, kMstcp, "DefaultTTL"),
                 std::optional<RegistryValue>(Text("64")));
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kMstcp, "SessionKeepAlive"), DWORD{3600000});
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kInternet, "MaxConnectionsPerServer"), DWORD{4});
}

void ManualTtlIsWrittenAsText(ZorvaneSession& z) {
    Context context("manual ttl");
    z.PostClick(manual_mode);
    HWND display = WaitForWindow({z.process().id(), "ZorvaneConnectionType", "", true});
    E2E_CHECK_EQ(WindowText(display), std::string("Connection Type - DSL/PPPoE"));
    PostMessageA(display, WM_CLOSE, 0, 0);
    E2E_CHECK(WaitForWindowGone(display));
    z.Click(ttl_custom);
    z.Type(ttl_value, "100");
    z.PostClick(cmdApply);
    z.AnswerChangeMadeRestartLater(kAppliedText);
    E2E_CHECK_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, kMstcp, "DefaultTTL"),
                 std::optional<RegistryValue>(Text("100")));
    E2E_CHECK(!ReadDword(HKEY_LOCAL_MACHINE, kMstcp, "DefaultRcvWindow").has_value());
    std::optional<std::string> saved = ReadWholeFile(SettingsFilePath());
    E2E_CHECK_STARTS_WITH(saved, "ConnectionType,1\r\nOptiMode,1\r\n");
    E2E_CHECK_CONTAINS(saved, "TTL,#TRUE#,100\r\n");
}

}  // namespace

void RunAutomaticScenario() {
    RemoveFile(SettingsFilePath());
    InSession([](ZorvaneSession& z) {
        PickingATypeAppliesItsPreset(z);
        ManualTtlIsWrittenAsText(z);
        z.PostClick(cmdApply);
        z.Answer(kAppliedText, IDOK);
        CheckRestartRequested(z);
    });
}

}  // namespace zv::e2e
