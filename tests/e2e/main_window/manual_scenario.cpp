// On an NT release: the first start, Manual mode with every validation message, Apply,
// the next start, a second copy, Restore, Backup, the start-up argument and the restart.
#include <string>
#include <vector>

#include "fakes/registry_paths.h"
#include "scenarios.h"
#include "support/check.h"
#include "support/files.h"
#include "support/message_boxes.h"
#include "support/registry_read.h"
#include "support/screen.h"
#include "support/windows_on_screen.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

using namespace test_keys;

using namespace win32::frm_main;

// cmb13, the file-name box of the common save dialog.
constexpr int kFileNameBox = 0x47c;

const char kRestoredFile[] =
    "ConnectionType,2\r\nOptiMode,1\r\nMTU,#FALSE#,-1\r\nRWIN,#FALSE#,-1,-1\r\n"
    "TTL,#FALSE#,-1\r\nSKA,#FALSE#,-1,-1\r\nNDI,#FALSE#,-1,-1\r\nPMTU,#TRUE#\r\n"
    "BlackHole,#FALSE#\r\nMSCPS0,0,2\r\nMSCPS1,2,4\r\n";

// Apply stops at the message; nothing is saved.
void ExpectRefused(ZorvaneSession& z, const std::string& message) {
    z.PostClick(cmdApply);
    z.Answer(message, IDOK);
}

void FirstStartInAutomaticMode(ZorvaneSession& z) {
    Context context("first start");
    E2E_CHECK_EQ(z.Text(connection_type_list), std::string("Dial-up (Modem)"));
    E2E_CHECK(z.Checked(automatic_mode));
    E2E_CHECK(!z.Checked(mtu_windows_default));
    E2E_CHECK(!z.Checked(mtu_custom));
    E2E_CHECK(!z.Enabled(mtu_value));
    E2E_CHECK(!z.Enabled(path_mtu_discovery));
    E2E_CHECK(!z.Enabled(http10_connections));
    E2E_CHECK(WaitForProcessNamed("vigilo.exe"));
    E2E_CHECK(RequestScreenshot("main-automatic"));
}

void SwitchToManual(ZorvaneSession& z) {
    Context context("switch to Manual");
    z.PostClick(manual_mode);
    HWND display = WaitForWindow({z.process().id(), "ZorvaneConnectionType", "", true});
    E2E_CHECK(display != nullptr);
    E2E_CHECK_EQ(WindowText(display), std::string("Connection Type - Dial-up (Modem)"));
    PostMessageA(display, WM_CLOSE, 0, 0);
    E2E_CHECK(WaitForWindowGone(display));
    E2E_CHECK(z.Checked(mtu_windows_default));
    E2E_CHECK(z.Checked(rwin_windows_default));
    E2E_CHECK(z.Checked(ndi_windows_default));
    E2E_CHECK(z.Checked(path_mtu_discovery));
    E2E_CHECK(!z.Checked(black_hole_detection));
    E2E_CHECK_EQ(z.Text(http10_connections), std::string("2"));
    E2E_CHECK_EQ(z.Text(http11_connections), std::string("4"));
    E2E_CHECK(z.Enabled(mtu_custom));
    E2E_CHECK(!z.Enabled(mtu_value));
}

void EnterCustomValuesThroughEveryCheck(ZorvaneSession& z) {
    Context context("custom values");
    z.Click(mtu_custom);
    ExpectRefused(z, "Invalid MTU. Enter Valid One.");
    z.Type(mtu_value, "6a7");
    E2E_CHECK_EQ(z.Text(mtu_value), std::string("67"));
    ExpectRefused(z, "Invalid MTU. Enter Valid One.");
    z.Type(mtu_value, "\b\b1500");
    z.Click(ttl_custom);
    z.Type(ttl_value, "3000");
    E2E_CHECK_EQ(z.Text(ttl_value), std::string("300"));
    ExpectRefused(z, "Invalid TTL. Enter Valid One.");
    z.Type(ttl_value, "\b\b\b128");
    // A custom value from a list is refused until one is picked.
    struct ListChoice {
        int option;
        const char* refusal;
        int list;
        int position;
    };
    for (const ListChoice& c :
         {ListChoice{rwin_custom, "Invalid RWIN. Select Valid One.", rwin_value, 8},
          ListChoice{ska_custom, "Invalid Session Keep Alive. Select Valid One.", ska_value, 9},
          ListChoice{ndi_custom, "Invalid NDI Cache. Select Valid One.", ndi_value, 5}}) {
        z.Click(c.option);
        ExpectRefused(z, c.refusal);
        z.Pick(c.list, c.position);
    }
    z.Pick(http11_connections, -1);
    ExpectRefused(z, "Invalid MSCPS using HTTP 1.1 value. Select Valid One.");
    z.Pick(http10_connections, -1);
    ExpectRefused(z, "Invalid MSCPS using HTTP 1.0 Value. Select Valid One.");
    z.Pick(http10_connections, 4);
    z.Pick(http11_connections, 2);
    z.Pick(connection_type_list, -1);
    ExpectRefused(z, "Invalid Connection Type. Select Valid One.");
    z.Pick(connection_type_list, 2);
    E2E_CHECK(!FileIsPresent(SettingsFilePath()));
    E2E_CHECK(RequestScreenshot("main-manual"));
}

void ApplyAnsweringNo(ZorvaneSession& z) {
    Context context("apply, no restart");
    z.PostClick(cmdApply);
    z.AnswerChangeMadeRestartLater(kAppliedText);
    E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()), std::string(kManualFile));
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "GlobalMaxTcpWindowSize"), DWORD{96000});
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize"), DWORD{96000});
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL"), DWORD{128});
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "KeepAliveTime"), DWORD{600000});
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "EnablePMTUDiscovery"), DWORD{1});
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "EnablePMTUBHDetect"), DWORD{0});
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kNdiCache, ""), DWORD{32});
    const std::string& interfaces = kInterfaces;
    for (const std::string& name : SubkeyNames(HKEY_LOCAL_MACHINE, interfaces)) {
        Context each(name);
        E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, interfaces + "\\" + name, "MTU"), DWORD{1500});
        E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, interfaces + "\\" + name, "MSS"), DWORD{1460});
    }
}

void NextStartShowsWhatWasSaved(ZorvaneSession& z) {
    Context context("next start");
    E2E_CHECK(z.Checked(manual_mode));
    E2E_CHECK_EQ(z.Text(connection_type_list), std::string("ISDN"));
    E2E_CHECK_EQ(z.Text(mtu_value), std::string("1500"));
    E2E_CHECK_EQ(z.Text(rwin_value), std::string("x64"));
    E2E_CHECK_EQ(z.Text(ttl_value), std::string("128"));
    E2E_CHECK_EQ(z.Text(ska_value), std::string("10 min."));
    E2E_CHECK_EQ(z.Text(ndi_value), std::string("32"));
    E2E_CHECK_EQ(z.Text(http10_connections), std::string("6"));
    E2E_CHECK(z.Enabled(mtu_value));
    E2E_CHECK(z.Enabled(rwin_value));
}

void SecondCopyEndsSilently(ZorvaneSession& z) {
    Context context("second copy");
    ChildProcess second(AppCommand("Zorvane.exe"));
    E2E_CHECK_EQ(second.WaitForExit(5000), std::optional<DWORD>(0));
    E2E_CHECK_EQ(FindTopLevelWindows({0, kClassName, "", true}).size(), size_t{1});
    E2E_CHECK(z.NoMessageBox(300));
}

void RestoreNoThenYes(ZorvaneSession& z) {
    Context context("restore");
    z.PostCommand(menu_restore);
    z.Answer(kRestoreQuestion, IDNO, "Restore Default Settings");
    E2E_CHECK(z.NoMessageBox());
    E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()), std::string(kManualFile));
    E2E_CHECK_EQ(z.Text(mtu_value), std::string("1500"));

    z.PostCommand(menu_restore);
    z.Answer(kRestoreQuestion, IDYES, "Restore Default Settings");
    z.Answer(kRestoredText, IDOK, "Restore Default Settings");
    E2E_CHECK(z.NoMessageBox(300));
    E2E_CHECK_EQ(ReadWholeFile(SettingsFilePath()), std::string(kRestoredFile));
    E2E_CHECK(!ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL").has_value());
    E2E_CHECK(!ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "GlobalMaxTcpWindowSize").has_value());
    E2E_CHECK_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "EnablePMTUDiscovery"), DWORD{1});
    E2E_CHECK(z.Checked(mtu_windows_default));
    E2E_CHECK_EQ(z.Text(mtu_value), "");
}

HWND OpenBackupDialog(ZorvaneSession& z) {
    z.PostCommand(menu_registry_backup);
    return WaitForWindow({z.process().id(), "#32770", "Registry Backup", true});
}

void BackupCancelledStartsNothing(ZorvaneSession& z) {
    Context context("backup");
    HWND dialog = OpenBackupDialog(z);
    E2E_CHECK(dialog != nullptr);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    E2E_CHECK(WaitForWindowGone(dialog));
    E2E_CHECK(z.NoMessageBox());
    E2E_CHECK_EMPTY(ProcessesNamed("regedit.exe"));
}

const char kBackupFolder[] = "C:\\my backups";

// Opens the dialog, types the file name into its file-name box as a user does and presses
// Save; the dialog, still open when it asks whether to replace a file.
HWND SaveBackupAs(ZorvaneSession& z, const std::string& typed) {
    HWND dialog = OpenBackupDialog(z);
    if (!E2E_CHECK(dialog != nullptr)) {
        return nullptr;
    }
    HWND file_name = GetDlgItem(dialog, kFileNameBox);
    E2E_CHECK(file_name != nullptr);
    SendMessageA(file_name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PostClick(dialog, IDOK);
    return dialog;
}

// The export goes to a file of its own beside the chosen one; none may be left over.
void CheckNoExportFileLeft() {
    E2E_CHECK_EQ(FileNames(kBackupFolder, "*.tmp").size(), 0u);
}

// A name typed without an extension is saved as a .reg file; the message comes only once
// the export has ended.
void BackupToAPathWithABlank(ZorvaneSession& z) {
    Context context("backup to a file");
    const std::string path = std::string(kBackupFolder) + "\\registry copy.reg";
    CreateDirectoryA(kBackupFolder, nullptr);
    RemoveFile(path);
    HWND dialog = SaveBackupAs(z, std::string(kBackupFolder) + "\\registry copy");
    E2E_CHECK(WaitForWindowGone(dialog));
    // The message waits for regedit to export the whole registry: seconds, more on a busy
    // machine.
    E2E_CHECK(z.Answer("Registry Backup has been taken Successfully.", IDOK, "Zorvane", 90000));
    CheckNoExportFileLeft();
    std::string exported = ReadWholeFile(path).value_or("");
    // regedit writes UTF-16 text that begins with its header line.
    static const char kHeader[] = "W\0i\0n\0d\0o\0w\0s\0 \0R\0e\0g\0i\0s\0t\0r\0y";
    const std::string header(kHeader, sizeof(kHeader) - 1);
    E2E_CHECK(exported.size() > 1000);
    E2E_CHECK_CONTAINS(exported, header);
}

// An older backup that cannot be written (another program holds it open, unshared) stays
// as it was, and the user is told the backup failed: it must never pass for this one.
void FailedBackupKeepsTheOlderFile(ZorvaneSession& z) {
    Context context("backup over a file held open");
    const std::string path = std::string(kBackupFolder) + "\\older backup.reg";
    const std::string older = "an older backup";
    E2E_CHECK(WriteWholeFile(path, older));
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    E2E_CHECK(held != INVALID_HANDLE_VALUE);
    HWND dialog = SaveBackupAs(z, path);
    std::optional<MessageBoxSeen> replace =
        WaitForMessageBox(z.process().id(), kDefaultTimeoutMs, dialog);
    if (E2E_CHECK(replace.has_value())) {
        E2E_CHECK_CONTAINS(replace->text, "already exists");
        E2E_CHECK(AnswerMessageBox(*replace, IDYES));
    }
    E2E_CHECK(WaitForWindowGone(dialog));
    E2E_CHECK(
        z.Answer("The Registry Backup failed: the registry could not be exported to the "
                 "file\r\n" +
                     path + "\r\nAny earlier file of that name is unchanged.",
                 IDOK, "Zorvane", 90000));
    CloseHandle(held);
    E2E_CHECK(ReadWholeFile(path) == std::optional<std::string>(older));
    CheckNoExportFileLeft();
    RemoveFile(path);
}

void ArgumentOneStartsOnlyTheCompanion() {
    Context context("argument 1");
    TerminateProcessesNamed("vigilo.exe");
    ChildProcess launcher(AppCommand("Zorvane.exe", "1"));
    E2E_CHECK_EQ(launcher.WaitForExit(5000), std::optional<DWORD>(0));
    E2E_CHECK(WaitForProcessNamed("vigilo.exe"));
    E2E_CHECK_EMPTY(FindTopLevelWindows({0, kClassName, "", true}));
}

void ArgumentZeroStartsTheWindowAsUsual(ZorvaneSession& z) {
    E2E_CHECK(!IsIconic(z.main()));
    E2E_CHECK(!IsZoomed(z.main()));
    z.PostClick(cmdApply);
    z.Answer(kAppliedText, IDOK);
    CheckRestartRequested(z);
}

}  // namespace

void RunManualScenario() {
    RemoveFile(SettingsFilePath());
    // Two starts of the program, the second seeing what the first saved.
    using Steps = std::vector<void (*)(ZorvaneSession&)>;
    for (const Steps& start : {Steps{FirstStartInAutomaticMode, SwitchToManual,
                                     EnterCustomValuesThroughEveryCheck, ApplyAnsweringNo},
                               Steps{NextStartShowsWhatWasSaved, SecondCopyEndsSilently,
                                     RestoreNoThenYes, BackupCancelledStartsNothing,
                                     BackupToAPathWithABlank, FailedBackupKeepsTheOlderFile}}) {
        const bool started = InSession([&](ZorvaneSession& z) {
            for (auto step : start) {
                step(z);
            }
            E2E_CHECK(z.Close());
        });
        if (!started) {
            return;
        }
    }
    ArgumentOneStartsOnlyTheCompanion();
    Context context("argument 0");
    InSession(ArgumentZeroStartsTheWindowAsUsual, "0");
}

}  // namespace zv::e2e
