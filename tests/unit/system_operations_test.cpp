// Apply, Restore, Backup and Restart of a record, over in-memory files, registry and
// scripted ports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_change_lock.h"
#include "fakes/memory_machine.h"
#include "fakes/program_texts.h"
#include "fakes/recording_ui.h"
#include "fakes/registry_paths.h"
#include "fakes/scripted_backup.h"
#include "fakes/scripted_restart.h"
#include "fakes/settings_records.h"
#include "main_window/system_operations.h"
#include "tuning/presets.h"

namespace zv::main_window {
namespace {

using namespace test_keys;

using ui::MessageAnswer;

const std::string kDir = "C:\\Program Files\\Zorvane";
const std::string kCfg = kDir + "\\Zorvane.cfg";

class SystemOperationsTest : public ::testing::Test, protected testing::MemoryMachine {
  protected:
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ui::Message& m : messages.shown) {
            texts.push_back(m.text);
        }
        return texts;
    }

    TuningSettings automatic = [] {
        TuningSettings s;
        ApplyPreset(s, 0, WindowsRelease::Windows2000);
        return s;
    }();
    WindowsRelease release = WindowsRelease::Windows2000;
    testing::RecordingMessageBox messages;
    testing::CountingEventPump pump;
    testing::ScriptedRestart restart;
    testing::ScriptedBackup backup;
    testing::FakeChangeLock change_lock;
    SystemOperations operations{release, kDir,
                                SystemPorts{files, folders, registry, messages, pump, restart,
                                            backup, nullptr, &change_lock}};
};

using namespace test_texts;

TEST_F(SystemOperationsTest, AutomaticApplyAnsweredNoSavesWritesAndReminds) {
    messages.answers = {MessageAnswer::Ok, MessageAnswer::No};
    EXPECT_TRUE(operations.ApplySettings(automatic));

    EXPECT_EQ(Texts(), (std::vector<std::string>{kAppliedText, kRestartQuestion, kRememberText}));
    const ui::Message& question = messages.shown[1];
    EXPECT_EQ(question.buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(question.default_button, 1);
    EXPECT_EQ(question.caption, "Zorvane");
    EXPECT_EQ(question.icon, ui::MessageIcon::Information);
    EXPECT_EQ(files.files[kCfg], "ConnectionType,0\r\nOptiMode,0\r\n");
    EXPECT_EQ(registry.Dword(kTcpip, "DefaultTTL"), 128u);
    EXPECT_TRUE(restart.calls.empty());
}

TEST_F(SystemOperationsTest, ApplyAnsweredYesRestartsWithThePrivilegeFirst) {
    messages.answers = {MessageAnswer::Ok, MessageAnswer::Yes};
    operations.ApplySettings(automatic);
    EXPECT_EQ(restart.calls, (std::vector<std::string>{"privilege", "reboot"}));
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(SystemOperationsTest, RefusedRestartIsReportedAndTheProgramGoesOn) {
    restart.refuse = true;
    operations.RestartWindows();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("refused to restart"), std::string::npos);
    EXPECT_EQ(messages.shown[0].icon, ui::MessageIcon::Exclamation);
}

TEST_F(SystemOperationsTest, ManualApplyStopsAtTheFailedCheckAndChangesNothing) {
    TuningSettings manual = testing::RestoredSettings();
    manual.MTUCustom = true;  // "Custom" chosen, nothing typed
    EXPECT_FALSE(operations.ApplySettings(manual));

    ASSERT_EQ(Texts(), std::vector<std::string>{"Invalid MTU. Enter Valid One."});
    EXPECT_EQ(messages.shown[0].caption, "Zorvane");
    EXPECT_EQ(messages.shown[0].icon, ui::MessageIcon::Information);
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(registry.ValueCount(), 0u);
}

// Another change (the Network Stack window's worker, a switch of another process) holds
// the change lock: Apply, Restore and Undo say so and write nothing; each that ran held it
// while it wrote and let it go before its messages.
TEST_F(SystemOperationsTest, WhileAnotherChangeRunsNothingIsWritten) {
    change_lock.held_elsewhere = true;
    EXPECT_FALSE(operations.ApplySettings(automatic));
    EXPECT_FALSE(operations.RestoreWindowsDefaults(automatic));
    EXPECT_FALSE(operations.UndoLastChange());
    EXPECT_FALSE(operations.UndoAllChanges());
    EXPECT_EQ(Texts(), std::vector<std::string>(4, kAnotherChangeRuns));
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(registry.ValueCount(), 0u);

    change_lock.held_elsewhere = false;
    messages.answers = {MessageAnswer::Ok, MessageAnswer::No};
    EXPECT_TRUE(operations.ApplySettings(automatic));
    EXPECT_TRUE(operations.UndoLastChange());
    EXPECT_EQ(change_lock.takes, 2);
    EXPECT_EQ(change_lock.held, 0);
}

// Neither a settings file nor a snapshot that cannot be written may let anything change.
TEST_F(SystemOperationsTest, UnwritableFileOrSnapshotIsNamedAndNothingElseHappens) {
    struct Case {
        const char* label;
        void (*arrange)(testing::MemoryFileSystem&, testing::MemoryFolders&);
        std::string named;
    };
    const Case cases[] = {
        {"Zorvane.cfg cannot be replaced",
         [](testing::MemoryFileSystem& f, testing::MemoryFolders&) { f.folders.insert(kCfg); },
         kCfg},
        {"no snapshot folder can be made",
         [](testing::MemoryFileSystem&, testing::MemoryFolders& d) { d.creates_fail = true; },
         kDir + "\\Snapshots"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        testing::MemoryFileSystem unwritable;
        testing::MemoryFolders unwritable_folders{unwritable};
        c.arrange(unwritable, unwritable_folders);
        testing::RecordingMessageBox shown;
        EXPECT_FALSE(SystemOperations(release, kDir,
                                      SystemPorts{unwritable, unwritable_folders, registry, shown,
                                                  pump, restart, backup})
                         .ApplySettings(automatic));
        ASSERT_EQ(shown.shown.size(), 1u);
        EXPECT_NE(shown.shown[0].text.find(c.named), std::string::npos) << shown.shown[0].text;
        EXPECT_EQ(shown.shown[0].icon, ui::MessageIcon::Exclamation);
        EXPECT_EQ(unwritable.files.count(kCfg), 0u);
        EXPECT_EQ(registry.ValueCount(), 0u);
    }
}

TEST_F(SystemOperationsTest, RefusedRegistryIsNeverReportedAsSuccess) {
    registry.writes_fail = true;
    EXPECT_FALSE(operations.ApplySettings(automatic));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("administrator"), std::string::npos);
    EXPECT_EQ(files.files.count(kCfg), 1u);  // the choice itself is kept

    EXPECT_FALSE(operations.RestoreWindowsDefaults(testing::RestoredSettings()));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].text.find("administrator"), std::string::npos);
}

TEST_F(SystemOperationsTest, RestoreAsksWithNoAsDefaultThenWritesTheBaselineWithoutRestart) {
    messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_FALSE(operations.ConfirmRestore());
    EXPECT_TRUE(operations.ConfirmRestore());
    EXPECT_EQ(messages.shown[0].text, kRestoreQuestion);
    EXPECT_EQ(messages.shown[0].caption, "Restore Default Settings");
    EXPECT_EQ(messages.shown[0].default_button, 2);
    EXPECT_EQ(files.writes, 0);

    registry.Put(kTcpip, "DefaultTTL", kRegDword, std::string("\x80\0\0\0", 4));
    EXPECT_TRUE(operations.RestoreWindowsDefaults(testing::RestoredSettings()));
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[2].text, kRestoredText);
    EXPECT_EQ(messages.shown[2].caption, "Restore Default Settings");
    EXPECT_FALSE(registry.Dword(kTcpip, "DefaultTTL").has_value());
    EXPECT_EQ(registry.Dword(kTcpip, "EnablePMTUDiscovery"), 1u);
    EXPECT_EQ(files.files[kCfg].substr(0, 30), "ConnectionType,0\r\nOptiMode,1\r\n");
    EXPECT_TRUE(restart.calls.empty());
}

TEST_F(SystemOperationsTest, UndoPutsTheLastChangeBackAndAsksTheRestartQuestion) {
    EXPECT_FALSE(operations.CanUndo());
    ASSERT_TRUE(operations.ApplySettings(automatic));
    EXPECT_TRUE(operations.CanUndo());
    messages.shown.clear();
    EXPECT_TRUE(operations.UndoLastChange());
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "The last change has been undone: the registry values and Zorvane.cfg "
                           "are as they were before it.",
                           kRestartQuestion, kRememberText}));
    EXPECT_EQ(files.files.count(kCfg), 0u);
    EXPECT_EQ(registry.ValueCount(), 0u);
    EXPECT_FALSE(operations.CanUndo());

    messages.shown.clear();
    EXPECT_FALSE(operations.UndoLastChange());
    EXPECT_EQ(Texts(), std::vector<std::string>{"There is no change to undo."});
}

TEST_F(SystemOperationsTest, ExportWritesBothFilesAndNamesThem) {
    EXPECT_TRUE(operations.ExportForDeployment(automatic, "C:\\Deploy\\dialup.reg"));
    EXPECT_EQ(Texts(), std::vector<std::string>{
                           "The settings Apply would write were exported to\r\n"
                           "C:\\Deploy\\dialup.reg\r\nand the values they replace on this "
                           "computer to\r\nC:\\Deploy\\dialup-undo.reg\r\nThe MTU of each "
                           "network adapter is not in them: run Zorvane.exe /apply on each "
                           "computer to write it."});
    EXPECT_EQ(files.files.count("C:\\Deploy\\dialup.reg"), 1u);
    EXPECT_EQ(files.files.count("C:\\Deploy\\dialup-undo.reg"), 1u);
    EXPECT_EQ(registry.ValueCount(), 0u) << "an export changes nothing here";
}

TEST_F(SystemOperationsTest, BackupCancelledStartsNothingAndSaysNothing) {
    operations.BackupRegistry();
    EXPECT_EQ(backup.initial_folder, kDir);
    EXPECT_TRUE(backup.commands.empty());
    EXPECT_TRUE(messages.shown.empty());
}

const char kOldBackup[] = "C:\\My Backups\\all.reg";

TEST_F(SystemOperationsTest, BackupExportsBesideTheFileAndThenReplacesIt) {
    backup.chosen = kOldBackup;
    backup.files[kOldBackup] = "an older backup";
    operations.BackupRegistry();
    EXPECT_EQ(backup.commands, std::vector<std::string>{
                                   "\"C:\\windows\\regedit.exe\" /E \"C:\\My Backups\\zv2.tmp\""});
    EXPECT_EQ(backup.window_style, 2);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Registry Backup has been taken Successfully."});
    EXPECT_EQ(backup.files, (std::map<std::string, std::string>{{kOldBackup, "REGEDIT4\r\n"}}));
    EXPECT_GE(pump.runs, 3);
}

// An older file at the path must never pass for this backup, and must survive a failure.
TEST_F(SystemOperationsTest, FailedBackupSaysSoAndKeepsTheOlderFile) {
    struct Case {
        const char* label;
        void (*arrange)(testing::ScriptedBackup&);
    };
    const Case cases[] = {
        {"regedit cannot start", [](testing::ScriptedBackup& b) { b.exit_code = std::nullopt; }},
        {"regedit ends with an error", [](testing::ScriptedBackup& b) { b.exit_code = 1u; }},
        {"regedit writes nothing", [](testing::ScriptedBackup& b) { b.exported = ""; }},
        {"no file can be made in the folder",
         [](testing::ScriptedBackup& b) { b.no_temporary_file = true; }},
        {"the older file cannot be replaced",
         [](testing::ScriptedBackup& b) { b.replace_fails = true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        testing::ScriptedBackup scripted;
        scripted.chosen = kOldBackup;
        scripted.files[kOldBackup] = "an older backup";
        c.arrange(scripted);
        testing::RecordingMessageBox shown;
        SystemOperations(release, kDir,
                         SystemPorts{files, folders, registry, shown, pump, restart, scripted})
            .BackupRegistry();
        ASSERT_EQ(shown.shown.size(), 1u);
        EXPECT_EQ(shown.shown[0].text,
                  "The Registry Backup failed: the registry could not be exported to the file\r\n"
                  "C:\\My Backups\\all.reg\r\nAny earlier file of that name is unchanged.");
        EXPECT_EQ(shown.shown[0].icon, ui::MessageIcon::Exclamation);
        EXPECT_EQ(scripted.files,
                  (std::map<std::string, std::string>{{kOldBackup, "an older backup"}}));
    }
}

}  // namespace
}  // namespace zv::main_window
