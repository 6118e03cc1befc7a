// Zorvane.exe /check and /repair of the modern TCP/IP stack, as a fleet's detection and
// remediation run them, against Wine's real registry, IP Helper and WMI (which has no
// MSFT_NetTCPSetting) and a stand-in netsh.exe:
//   netstack_driver command_line win10   findings, refused and partly made fixes, Undo (a
//                                        misplaced value of another type included)
//   netstack_driver command_line winxp   no modern stack: nothing to check or repair
#include <windows.h>

#include <string>
#include <vector>

#include "fakes/registry_paths.h"
#include "support/check.h"
#include "support/files.h"
#include "support/process.h"
#include "support/registry_read.h"
#include "support/scenario_runner.h"
#include "support/stand_in_netsh.h"
#include "support/wine_settings.h"
#include "support/zorvane_session.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

using test_keys::kInterfaces;
using test_keys::kTcpip;

// A first WMI connection under Wine starts its service, which takes a few seconds.
constexpr DWORD kRunTimeoutMs = 90000;
const char kUndoneText[] =
    "The last change has been undone: the registry values and Zorvane.cfg are as they were "
    "before it.";
const std::string kNoStack =
    "This Windows has no modern TCP/IP stack: the classic values are what it reads. "
    "Nothing to check.";
const std::string kMisplaced = "TcpAckFrequency is set under " + kInterfaces +
                               ", where Windows never reads it. Fix: Remove it";
const std::string kIgnored =
    "TcpWindowSize is set under SYSTEM\\CurrentControlSet\\Services\\"
    "Tcpip\\Parameters, which Windows ignores since Vista: it does "
    "nothing but mislead. Fix: Remove it";

CapturedRun Zorvane(const std::string& word, int netsh_exit_code = 0) {
    SetNetshExitCode(netsh_exit_code);
    return RunCapturingOutput("Zorvane.exe", word, kRunTimeoutMs);
}

// "IPv4 MTU: lo: 500" of the finding "IPv4 MTU: lo is 500, outside ...", as Undo names it.
std::string MtuAsUndoNamesIt(const std::string& check) {
    size_t start = check.find("IPv4 MTU: ");
    size_t is = check.find(" is ", start);
    size_t end = check.find(',', is);
    if (start == std::string::npos || is == std::string::npos || end == std::string::npos) {
        return "(no MTU finding)";
    }
    return check.substr(start, is - start) + ": " + check.substr(is + 4, end - is - 4);
}

// A value as a script may leave it, of any kind.
bool WriteValue(const std::string& path, const char* name, const RegistryValue& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG set =
        RegSetValueExA(key, name, 0, value.kind, reinterpret_cast<const BYTE*>(value.data.data()),
                       static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

void RunWin10() {
    std::string mtu_row;
    // TCPNoDelay as a script wrote it, as text: /repair removes it and /undo puts back text.
    const RegistryValue no_delay{REG_SZ, std::string("1\0", 2)};
    E2E_CHECK(WriteDword(HKEY_LOCAL_MACHINE, kInterfaces, "TcpAckFrequency", 1));
    E2E_CHECK(WriteDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize", 64240));
    E2E_CHECK(WriteValue(kTcpip, "TCPNoDelay", no_delay));
    {
        Context in("/check");
        CapturedRun check = Zorvane("/check");
        E2E_CHECK_EQ(check.exit_code, std::optional<DWORD>(1));
        E2E_CHECK_CONTAINS(check.output, kMisplaced);
        E2E_CHECK_CONTAINS(check.output, kIgnored);
        E2E_CHECK_CONTAINS(check.output, "IPv4 MTU: ");
        E2E_CHECK_LACKS(check.output, "auto-tuning");  // WMI has no such class here
        E2E_CHECK_EMPTY(NetshCalls());
        mtu_row = MtuAsUndoNamesIt(check.output);
    }
    {
        Context in("/repair, netsh refusing");
        CapturedRun repair = Zorvane("/repair", 1);
        E2E_CHECK_EQ(repair.exit_code, std::optional<DWORD>(1));
        E2E_CHECK_CONTAINS(repair.output,
                           "TcpAckFrequency, never read: " + kInterfaces + ": removed.");
        E2E_CHECK_CONTAINS(repair.output, ": not set to 576, refused (netsh exit code 1).");
        E2E_CHECK_LACKS(repair.output, "set to 576.");
        CheckNetshStoresMtu(576);
        E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kInterfaces, "TcpAckFrequency"),
                     std::optional<DWORD>());
        E2E_CHECK(!ReadRegistryValue(HKEY_LOCAL_MACHINE, kTcpip, "TCPNoDelay"));
    }
    {
        Context in("/undo");
        CapturedRun undo = Zorvane("/undo");
        E2E_CHECK_EQ(undo.exit_code, std::optional<DWORD>(0));
        E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kInterfaces, "TcpAckFrequency"),
                     std::optional<DWORD>(1));
        E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize"),
                     std::optional<DWORD>(64240));
        E2E_CHECK_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTcpip, "TCPNoDelay"),
                     std::optional<RegistryValue>(no_delay));
        E2E_CHECK_EMPTY(NetshCalls());
    }
    {
        Context in("/repair, no SetIpInterfaceEntry");
        CapturedRun repair = Zorvane("/repair");
        E2E_CHECK_EQ(repair.exit_code, std::optional<DWORD>(4));
        E2E_CHECK_CONTAINS(repair.output,
                           ": partly set to 576: stored for the next start, not set now (this "
                           "Windows has no SetIpInterfaceEntry).");
        CheckNetshStoresMtu(576);
    }
    {
        // The window's Undo puts the stack's rows back too, its waits keeping it alive.
        Context in("the window's Undo Last Change");
        ZorvaneSession zorvane;
        if (!E2E_CHECK(zorvane.ok())) {
            return;
        }
        zorvane.PostCommand(win32::frm_main::menu_undo_last_change);
        zorvane.AnswerChangeMadeRestartLater(
            std::string(kUndoneText) +
            "\r\nThe network stack settings put back:\r\nTCPNoDelay in "
            "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters: \"1\"\r\nTcpAckFrequency in " +
            kInterfaces + ": 1\r\n" + mtu_row);
        E2E_CHECK(zorvane.Close());
        E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kInterfaces, "TcpAckFrequency"),
                     std::optional<DWORD>(1));
        E2E_CHECK_EMPTY(NetshCalls());
    }
}

void RunWinXp() {
    for (const char* word : {"/check", "/repair"}) {
        Context in(word);
        CapturedRun run = Zorvane(word);
        E2E_CHECK_EQ(run.exit_code, std::optional<DWORD>(0));
        E2E_CHECK_EQ(run.output.substr(0, kNoStack.size()), kNoStack);
    }
    E2E_CHECK_EMPTY(NetshCalls());
}

}  // namespace
}  // namespace zv::e2e

int main(int argc, char** argv) {
    using namespace zv::e2e;
    return RunNamedScenario({{"command_line", "winxp|win10",
                              [](const Arguments& words) {
                                  bool win10 = !words.empty() && words[0] == "win10";
                                  if (words.empty() || (!win10 && words[0] != "winxp")) {
                                      return false;
                                  }
                                  E2E_CHECK(PlaceStandInNetsh());
                                  win10 ? RunWin10() : RunWinXp();
                                  return true;
                              }}},
                            argc, argv);
}
