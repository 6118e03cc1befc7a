// Zorvane.exe /apply, /restore, /undo, /undo all and /export FILE: their exit codes, and what
// Apply, Restore and the export take as the choice when there is no window.
#include <gtest/gtest.h>

#include "fakes/fake_change_lock.h"
#include "fakes/fake_stack_ports.h"
#include "fakes/memory_machine.h"
#include "fakes/registry_paths.h"
#include "fakes/settings_records.h"
#include "main_window/tool_switches.h"
#include "netstack/stack_command.h"
#include "sysconfig/settings_file.h"
#include "sysconfig/tool_commands.h"

namespace zv {
namespace {

using namespace test_keys;

const std::string kDir = "C:\\Zorvane";
const std::string kCfg = kDir + "\\Zorvane.cfg";
const std::string kExport = "C:\\out\\t1.reg";
constexpr WindowsRelease kXp = WindowsRelease::WindowsXp;

class ToolCommandsTest : public ::testing::Test, protected testing::MemoryMachine {
  protected:
    CommandReport Undo() { return RunUndoCommand({files, folders, registry}, kDir); }
    CommandReport Export(const std::string& path) {
        return RunExportCommand(files, registry, kDir, InitialDefaultSettings(), kXp, path);
    }
};

TEST_F(ToolCommandsTest, UndoExitsZeroOnlyWhenTheChangeIsBack) {
    EXPECT_EQ(Undo().exit_code, kExitRefused) << "nothing to undo";
    ASSERT_EQ(SaveSettingsAndApply(files, folders, registry, kDir, InitialDefaultSettings(), kXp),
              ApplyResult::Applied);
    const std::string snapshot = kDir + "\\Snapshots\\snapshot-000001.txt";
    const std::string whole = files.files[snapshot];
    files.files[snapshot] = "Zorvane snapshot 1\r\n";
    CommandReport damaged = Undo();
    EXPECT_EQ(damaged.exit_code, kExitBadInput);
    EXPECT_EQ(damaged.text, "The last change cannot be undone: its snapshot\r\n" + snapshot +
                                "\r\nis damaged (it ends before its end line).\r\n"
                                "Nothing has been changed.");
    files.files[snapshot] = whole;
    EXPECT_EQ(Undo().exit_code, kExitDone);
    EXPECT_EQ(files.files.count(kCfg), 0u);
}

TEST_F(ToolCommandsTest, ExportTakesTheSavedChoiceAndRefusesADamagedOne) {
    EXPECT_EQ(Export("").exit_code, kExitBadInput);

    files.files[kCfg] = "ConnectionType,4\r\nOptiMode,0\r\n";  // T1 in Automatic mode
    EXPECT_EQ(Export(kExport).exit_code, kExitDone);
    EXPECT_NE(files.files[kExport].find("\"TcpWindowSize\"=dword:001c03e0\r\n"), std::string::npos)
        << "the T1 preset's 1836000" << files.files[kExport];

    files.files[kCfg] = "ConnectionType,4\r\nOptiMode,1\r\n";  // Manual, cut short
    files.files.erase(kExport);
    EXPECT_EQ(Export(kExport).exit_code, kExitBadInput);
    EXPECT_EQ(files.files.count(kExport), 0u);
}

TEST(ToolSwitchTest, TheCommandLineNamesASwitchOrLeavesTheArgumentAlone) {
    struct Case {
        const char* command_line;
        std::optional<const char*> word;  // nullptr: the switch's word with wrong arguments
        const char* argument;
    };
    const Case cases[] = {
        {"/undo", "/undo", ""},
        {" /UNDO ", "/undo", ""},
        {"/undo now", nullptr, ""},
        {" /Undo ALL ", "/undo all", ""},
        {"/export C:\\My Files\\t1.reg", "/export", "C:\\My Files\\t1.reg"},
        {"/Export \"C:\\My Files\\t1.reg\" ", "/export", "C:\\My Files\\t1.reg"},
        {"/export", nullptr, ""},
        {"/export \"\"", nullptr, ""},
        {"/export a\"b", nullptr, ""},
        {"/exported", nullptr, ""},
        // Mistyped switches are refused, so that no window waits for a deployment tool.
        {"/aply", nullptr, ""},
        {"/help", nullptr, ""},
        {"-apply", nullptr, ""},
        {"/?x", nullptr, ""},
        {"/apply/restore", nullptr, ""},
        {"- 1", nullptr, ""},
        {"1", std::nullopt, ""},
        {" -1 ", std::nullopt, ""},
        {"text", std::nullopt, ""},
        {"", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        std::optional<main_window::ToolSwitch> tool = main_window::ParseToolSwitch(c.command_line);
        ASSERT_EQ(tool.has_value(), c.word.has_value()) << c.command_line;
        if (!tool) {
            continue;
        }
        ASSERT_EQ(tool->row != nullptr, *c.word != nullptr) << c.command_line;
        if (tool->row != nullptr) {
            EXPECT_STREQ(tool->row->word, *c.word) << c.command_line;
            EXPECT_EQ(tool->argument, c.argument) << c.command_line;
        }
    }
}

class FixedStart : public main_window::StartPorts {
  public:
    bool first_copy = true;
    int locks_taken = 0;
    WindowsRelease release = kXp;
    ReleaseDetail detail;
    bool IsFirstCopy() override {
        ++locks_taken;
        return first_copy;
    }
    bool WriterRuns() override { return !first_copy; }
    WindowsVersion DetectWindowsVersion() override { return {release, "Windows XP", detail}; }
    void StartCompanion() override {}
};

// The command line as WinMain runs it: parsed, then run over the in-memory ports.
class ToolSwitchRunTest : public ToolCommandsTest {
  protected:
    ToolSwitchRunTest() { records.ProgramDirectory = kDir; }
    CommandReport run(const char* command_line) {
        return main_window::RunToolSwitch(
            *main_window::ParseToolSwitch(command_line),
            {start, files, folders, registry, stack.ports, &change_lock}, records);
    }

    FixedStart start;
    testing::FakeChangeLock change_lock;
    testing::FakeStack stack;
    main_window::ProgramRecords records;
};

TEST_F(ToolSwitchRunTest, SwitchesRefuseWrongArgumentsAndARunningCopyBeforeAnyWork) {
    CommandReport bad = run("/undo twice");
    EXPECT_EQ(bad.exit_code, kExitBadInput);
    EXPECT_EQ(bad.text,
              "Usage: Zorvane.exe /apply | /restore | /undo all | /undo | /export FILE | /check | "
              "/repair | /?");
    EXPECT_EQ(run(" /? ").exit_code, kExitDone);
    EXPECT_EQ(run("/check now").exit_code, kExitBadInput);
    EXPECT_EQ(run("/check").exit_code, kExitDone);  // XP: no modern stack to check
    EXPECT_EQ(start.locks_taken, 0) << "only what writes takes the lock";

    files.files[kCfg] = "ConnectionType,4\r\nOptiMode,0\r\n";
    start.first_copy = false;
    EXPECT_EQ(run("/export C:\\out\\t1.reg").exit_code, kExitRefused);
    EXPECT_EQ(files.files.size(), 1u);

    start.first_copy = true;
    change_lock.held_elsewhere = true;  // another process's change runs
    CommandReport busy = run("/undo");
    EXPECT_EQ(busy.exit_code, kExitRefused);
    EXPECT_EQ(busy.text, kAnotherChangeRuns);
    EXPECT_EQ(run("/check").exit_code, kExitDone) << "it writes nothing: no lock to take";

    change_lock.held_elsewhere = false;
    EXPECT_EQ(run("/export C:\\out\\t1.reg").exit_code, kExitDone);
    EXPECT_EQ(change_lock.held, 0);
    EXPECT_EQ(records.WindowsRelease, kXp);
    EXPECT_EQ(files.files.count("C:\\out\\t1-undo.reg"), 1u);
}

TEST_F(ToolSwitchRunTest, ApplyAndExportRefuseWithoutAReadableSettingsFile) {
    struct Case {
        const char* context;
        void (*make)(testing::MemoryFileSystem& files);
    };
    const Case cases[] = {
        {"no file", [](testing::MemoryFileSystem&) {}},
        {"hidden",
         [](testing::MemoryFileSystem& f) {
             f.files[kCfg] = "ConnectionType,4\r\nOptiMode,0\r\n";
             f.hidden.insert(kCfg);
         }},
        {"a folder of that name",
         [](testing::MemoryFileSystem& f) {
             f.files[kCfg] = "";
             f.folders.insert(kCfg);
         }},
    };
    const std::pair<const char*, const char*> switches[] = {
        {"/apply", "There is no Zorvane.cfg to apply in C:\\Zorvane"},
        {"/export C:\\out\\t1.reg", "There is no Zorvane.cfg to export in C:\\Zorvane"},
    };
    for (const Case& c : cases) {
        for (const auto& [command_line, text] : switches) {
            files = testing::MemoryFileSystem();
            c.make(files);
            CommandReport report = run(command_line);
            EXPECT_EQ(report.exit_code, kExitBadInput) << c.context << ", " << command_line;
            EXPECT_EQ(report.text, text) << c.context << ", " << command_line;
            EXPECT_EQ(files.writes, 0) << c.context << ", " << command_line;
            EXPECT_EQ(registry.ValueCount(), 0u) << c.context << ", " << command_line;
        }
    }
}

TEST_F(ToolSwitchRunTest, ApplyAndRestoreWriteAsTheWindowDoesAndEndWithTheirCodes) {
    struct Refusal {
        const char* context;
        const char* cfg;
        WindowsRelease release;
        bool registry_refuses;
        int exit_code;
    };
    const Refusal refusals[] = {
        {"Manual, cut short", "ConnectionType,4\r\nOptiMode,1\r\n", kXp, false, kExitBadInput},
        {"unrecognised Windows", "ConnectionType,4\r\nOptiMode,0\r\n", WindowsRelease::Unrecognised,
         false, kExitRefused},
        {"registry refused", "ConnectionType,4\r\nOptiMode,0\r\n", kXp, true, kExitRefused},
    };
    for (const Refusal& r : refusals) {
        files.files = {{kCfg, r.cfg}};
        start.release = r.release;
        registry.writes_fail = r.registry_refuses;
        EXPECT_EQ(run("/apply").exit_code, r.exit_code) << r.context;
        EXPECT_EQ(registry.ValueCount(), 0u) << r.context;
        EXPECT_EQ(files.files[kCfg], r.cfg) << r.context;
    }
    start.release = kXp;
    registry.writes_fail = false;

    CommandReport applied = run("/apply");
    EXPECT_EQ(applied.exit_code, kExitDone) << applied.text;
    EXPECT_EQ(registry.Dword(kTcpip, "TcpWindowSize"), 1836000u) << "the T1 preset";

    registry.Put(kTcpip, "DefaultTTL", kRegDword, std::string("\x80\0\0\0", 4));
    EXPECT_EQ(run("/restore").exit_code, kExitDone);
    EXPECT_FALSE(registry.Dword(kTcpip, "DefaultTTL").has_value());
    EXPECT_FALSE(registry.Dword(kTcpip, "TcpWindowSize").has_value());
    TuningSettings restored = testing::RestoredSettings();
    restored.ConnectionType = 4;  // the shown type stays
    EXPECT_EQ(files.files[kCfg], FormatSettingsFile(restored));
    EXPECT_EQ(run("/undo").exit_code, kExitDone) << "Restore left a snapshot, as the window's";
    EXPECT_EQ(registry.Dword(kTcpip, "TcpWindowSize"), 1836000u);
}

// /undo all puts back the state before Zorvane's first change; without a record of it
// (the uninstaller's case after the folder was emptied), nothing is Zorvane's to undo and
// every value stays, whoever wrote it.
TEST_F(ToolSwitchRunTest, UndoAllPutsBackTheFirstStateOrChangesNothingWithoutOne) {
    const std::string kT1 = "ConnectionType,4\r\nOptiMode,0\r\n";
    registry.Put(kTcpip, "DefaultTTL", kRegDword, DwordBytes(64));
    registry.Put(kTcpip, "Other", kRegDword, DwordBytes(1));
    const std::string before = registry.Dump();
    files.files[kCfg] = kT1;
    ASSERT_EQ(run("/apply").exit_code, kExitDone);
    ASSERT_EQ(run("/restore").exit_code, kExitDone);
    CommandReport all = run("/undo all");
    EXPECT_EQ(all.exit_code, kExitDone) << all.text;
    EXPECT_EQ(registry.Dump(), before);
    EXPECT_EQ(files.files[kCfg], kT1);

    ASSERT_EQ(run("/apply").exit_code, kExitDone);
    files.files.erase(kDir + "\\Snapshots\\first-snapshot.txt");
    const std::string applied = registry.Dump();
    CommandReport none = run("/undo all");
    EXPECT_EQ(none.exit_code, kExitDone) << none.text;
    EXPECT_NE(none.text.find("nothing of Zorvane's to undo"), std::string::npos) << none.text;
    EXPECT_EQ(registry.Dump(), applied);
}

// Windows 10 as WMI answers it (or, broken or past its bound, does not): a setting the
// checks depend on that could not be read never passes the machine, and a finding only
// Group Policy can change has its own code rather than failing /repair on every run.
TEST_F(ToolSwitchRunTest, CheckAndRepairNeverPassAMachineTheyCouldNotRead) {
    using netstack::PortStatus;
    using netstack::WmiClass;
    struct Case {
        const char* context;
        PortStatus wmi;
        uint32_t local_level;   // 3 Normal, 0 Disabled
        uint32_t policy_level;  // 255 not configured; the effective level follows it
        int check;
        int repair;
        const char* line;  // a line both print
    };
    const Case cases[] = {
        {"WMI broken", PortStatus::Failed, 3, 255, netstack::kExitNotRead, netstack::kExitNotRead,
         "Receive window auto-tuning could not be read"},
        {"all read, nothing found", PortStatus::Ok, 3, 255, kExitDone, kExitDone, ""},
        {"a finding Zorvane fixes", PortStatus::Ok, 0, 255, kExitRefused, kExitDone,
         "Receive window auto-tuning"},
        {"Group Policy's finding only", PortStatus::Ok, 3, 0, netstack::kExitSetByGroupPolicy,
         netstack::kExitSetByGroupPolicy, "Group Policy sets receive window auto-tuning"},
    };
    start.release = WindowsRelease::Vista;
    start.detail = {10, 0, 19045, false};
    for (const Case& c : cases) {
        const bool by_policy = c.policy_level != 255;
        stack.wmi.classes[WmiClass::TcpSetting] = {
            c.wmi,
            {{"Internet",
              {{"AutoTuningLevelLocal", c.local_level},
               {"AutoTuningLevelGroupPolicy", c.policy_level},
               {"AutoTuningLevelEffective", by_policy ? 1u : 0u},
               {"CongestionProvider", 5}}}}};
        stack.wmi.classes[WmiClass::OffloadGlobalSetting] = {
            c.wmi, {{"", {{"ReceiveSideScaling", 1}, {"ReceiveSegmentCoalescing", 1}}}}};
        stack.interfaces.list = {PortStatus::Ok, {}};
        for (const char* command_line : {"/check", "/repair"}) {
            CommandReport report = run(command_line);
            const bool check = command_line[1] == 'c';
            EXPECT_EQ(report.exit_code, check ? c.check : c.repair)
                << c.context << ", " << command_line << ": " << report.text;
            EXPECT_NE(report.text.find(c.line), std::string::npos)
                << c.context << ", " << command_line << ": " << report.text;
        }
    }
}

}  // namespace
}  // namespace zv
