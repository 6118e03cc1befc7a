// Snapshots and Undo: the text form and its round trip, damaged snapshots (or ones naming
// what Zorvane does not write) refused without a change, Apply then Undo giving back the
// exact registry and Zorvane.cfg, the last 20 kept with the first, and Undo All.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/memory_machine.h"
#include "fakes/registry_paths.h"
#include "fakes/settings_records.h"
#include "sysconfig/settings_file.h"
#include "sysconfig/snapshots.h"
#include "tuning/presets.h"

namespace zv {
namespace {

using namespace test_keys;

const std::string kDir = "C:\\Zorvane";
const std::string kCfg = kDir + "\\Zorvane.cfg";
const std::string kFolder = kDir + "\\Snapshots";

Snapshot EveryKindOfValue() {
    Snapshot s;
    s.absent_keys = {"SYSTEM\\X", "SYSTEM\\X\\Y"};
    s.values = {
        {kTcpip, "TcpWindowSize", RegistryValue{kRegDword, DwordBytes(4294967295u)}},
        {kTcpip, "DefaultTTL", std::nullopt},
        {"A \"quoted\" \\ key", "", RegistryValue{kRegSz, std::string("x\r\n\"\t\xE9\0", 6)}},
        {"K", "Binary", RegistryValue{3, std::string("\x00\xff\x10", 3)}},
        {"K", "Empty", RegistryValue{7, ""}},
        {"K", "Short dword", RegistryValue{kRegDword, "ab"}},
        {"K", "Text without its NUL", RegistryValue{kRegSz, "abc"}},
    };
    s.stack_values = {{"congestion-provider", "Internet", 5u, false},
                      {"tcp-ack-frequency", "{A \"b\"}", std::nullopt, false},
                      {"auto-tuning", "", std::nullopt, true},
                      {"ipv4-mtu", "7", 1500u, false, true, std::nullopt},
                      {"ipv6-mtu", "7", 4294967295u, false, true, 1400u}};
    s.settings_file = "ConnectionType,3\r\nOptiMode,0\r\n";
    return s;
}

TEST(SnapshotFormatTest, ReadsAsItIsWrittenAndRoundTripsEveryKind) {
    Snapshot small;
    small.absent_keys = {"SYSTEM\\X"};
    small.values = {{kTcpip, "DefaultTTL", RegistryValue{kRegDword, DwordBytes(128)}},
                    {"SYSTEM\\X", "MTU", std::nullopt}};
    EXPECT_EQ(FormatSnapshot(small),
              "Zorvane snapshot 1\r\n"
              "; The registry values Zorvane was about to change, and Zorvane.cfg, as they were "
              "before.\r\n"
              "; Tools > Undo Last Change, or Zorvane.exe /undo, puts them back.\r\n"
              "key absent \"SYSTEM\\\\X\"\r\n"
              "value \"SYSTEM\\\\CurrentControlSet\\\\Services\\\\tcpip\\\\parameters\" "
              "\"DefaultTTL\" dword 128\r\n"
              "value \"SYSTEM\\\\X\" \"MTU\" absent\r\n"
              "settings absent\r\n"
              "end\r\n");

    std::string error;
    for (const Snapshot& s : {small, EveryKindOfValue()}) {
        std::optional<Snapshot> read = ParseSnapshot(FormatSnapshot(s), &error);
        ASSERT_TRUE(read) << error << "\n" << FormatSnapshot(s);
        EXPECT_TRUE(*read == s) << FormatSnapshot(*read);
    }
}

TEST(SnapshotFormatTest, DamagedTextIsRefusedWithTheLineThatIsWrong) {
    std::string whole = FormatSnapshot(EveryKindOfValue());
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"", "its first line is not \"Zorvane snapshot 1\""},
        {"Zorvane snapshot 2\r\nend\r\n", "its first line is not \"Zorvane snapshot 1\""},
        {whole.substr(0, whole.size() - 5), "it ends before its end line"},
        {"Zorvane snapshot 1\r\nsettings absent\r\nvalue \"K\" \"V\" dword 4294967296\r\nend\r\n",
         "line 3: the value is not understood"},
        {"Zorvane snapshot 1\r\nvalue \"K\" \"V\" hex(3) 0,1\r\nsettings absent\r\nend\r\n",
         "line 2: the value is not understood"},
        {"Zorvane snapshot 1\r\nvalue \"K\" \"V\" sz \"open\r\nend\r\n",
         "line 2: its quoted text is not understood"},
        {"Zorvane snapshot 1\r\nvalue \"K\" \"V\" sz \"\\q\"\r\nend\r\n",
         "line 2: its quoted text is not understood"},
        {"Zorvane snapshot 1\r\nvalue \"K\" dword 1\r\nend\r\n", "line 2: it is not understood"},
        {"Zorvane snapshot 1\r\nend\r\n", "line 2: Zorvane.cfg is not recorded"},
        {"Zorvane snapshot 1\r\nstack \"ecn\" \"\" dword x\r\nsettings absent\r\nend\r\n",
         "line 2: the stack value is not understood"},
        {"Zorvane snapshot 1\r\nsettings absent\r\nsettings absent\r\nend\r\n",
         "line 3: it is not understood"},
        {"Zorvane snapshot 1\r\nsettings absent\r\nend\r\nkey absent \"K\"\r\n",
         "line 4: there is more after the end line"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseSnapshot(c.text, &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

class UndoTest : public ::testing::Test, protected testing::MemoryMachine {
  protected:
    UndoTest() {
        registry.AddKey(kInterfaces + "\\{A}");
        registry.Put(kTcpip, "DefaultTTL", kRegSz, std::string("64\0", 3));  // a hand edit
        registry.Put(kTcpip, "Odd", 3, "\x01\x02");
    }

    ApplyResult Apply(const TuningSettings& s) {
        return SaveSettingsAndApply(files, folders, registry, kDir, s, release);
    }
    UndoResult Undo() { return UndoLastChange({files, folders, registry}, kDir); }
    void ApplyTimes(int times) {
        for (int i = 0; i < times; ++i) {
            ASSERT_EQ(Apply(i % 2 == 0 ? testing::RestoredSettings() : t1), ApplyResult::Applied);
        }
    }

    TuningSettings t1 = [] {
        TuningSettings s;
        ApplyPreset(s, 4, WindowsRelease::Vista);
        return s;
    }();
    WindowsRelease release = WindowsRelease::Vista;
};

// Before: no Zorvane.cfg, no service key for the interface, a hand-edited TTL. Two changes
// are undone one after the other, each back to exactly the state before it.
TEST_F(UndoTest, ApplyThenUndoGivesBackTheExactRegistryAndSettingsFile) {
    const std::string before = registry.Dump();
    ASSERT_EQ(Apply(t1), ApplyResult::Applied);
    const std::string after_first = registry.Dump();
    const std::string first_file = files.files[kCfg];
    ASSERT_EQ(Apply(testing::RestoredSettings()), ApplyResult::Applied);
    ASSERT_NE(registry.Dump(), after_first);

    EXPECT_EQ(Undo().outcome, UndoOutcome::Undone);
    EXPECT_EQ(registry.Dump(), after_first);
    EXPECT_EQ(files.files[kCfg], first_file);

    UndoResult undo = Undo();
    EXPECT_EQ(undo.outcome, UndoOutcome::Undone);
    EXPECT_EQ(undo.snapshot, kFolder + "\\snapshot-000001.txt");
    EXPECT_EQ(registry.Dump(), before);
    EXPECT_FALSE(registry.HasKey(kServices + "\\{A}")) << "keys Apply made are gone again";
    EXPECT_EQ(files.files.count(kCfg), 0u) << "there was no Zorvane.cfg before";
    EXPECT_EQ(Undo().outcome, UndoOutcome::NothingToUndo);
}

TEST_F(UndoTest, ADamagedOrRefusedUndoChangesNothingAndKeepsTheSnapshot) {
    files.files[kCfg] = "ConnectionType,1\r\nOptiMode,0\r\n";
    ASSERT_EQ(Apply(t1), ApplyResult::Applied);
    const std::string path = kFolder + "\\snapshot-000001.txt";
    const std::string applied = registry.Dump();
    const std::string saved = files.files[kCfg];
    const std::string whole = files.files[path];

    files.files[path] = whole.substr(0, whole.size() - 5);  // cut off before its end
    UndoResult damaged = Undo();
    EXPECT_EQ(damaged.outcome, UndoOutcome::Damaged);
    EXPECT_EQ(damaged.snapshot, path);
    EXPECT_EQ(damaged.reason, "it ends before its end line");
    EXPECT_EQ(registry.Dump(), applied);
    EXPECT_EQ(files.files[kCfg], saved);

    files.files[path] = whole;
    registry.writes_fail = true;
    EXPECT_EQ(Undo().outcome, UndoOutcome::RegistryRefused);
    EXPECT_EQ(files.files.count(path), 1u) << "kept, to be undone when Windows allows it";
    registry.writes_fail = false;
    EXPECT_EQ(Undo().outcome, UndoOutcome::Undone);
    EXPECT_EQ(files.files[kCfg], "ConnectionType,1\r\nOptiMode,0\r\n");
}

TEST_F(UndoTest, OnlyTheLastTwentySnapshotsAreKeptWithTheFirst) {
    ApplyTimes(25);
    std::vector<std::string> names = folders.FileNames(kFolder);
    ASSERT_EQ(names.size(), 21u);
    EXPECT_EQ(names.front(), "first-snapshot.txt");
    EXPECT_EQ(names[1], "snapshot-000006.txt");
    EXPECT_EQ(names.back(), "snapshot-000025.txt");
    EXPECT_EQ(Undo().snapshot, kFolder + "\\snapshot-000025.txt");
}

// A change that did not happen leaves no snapshot and prunes none: refused attempts must
// not wipe the history, nor make Undo report a change undone that never was.
TEST_F(UndoTest, ARefusedChangeLeavesNoSnapshotAndPrunesNone) {
    files.folders.insert(kCfg);
    EXPECT_EQ(Apply(t1), ApplyResult::FileNotWritten);
    EXPECT_EQ(folders.FileNames(kFolder), std::vector<std::string>{}) << "no first snapshot";
    files.folders.clear();
    ApplyTimes(20);
    const std::vector<std::string> kept = folders.FileNames(kFolder);
    struct Case {
        const char* context;
        std::function<void()> refuse;
        ApplyResult result;
    };
    const Case cases[] = {
        {"Zorvane.cfg cannot be written", [&] { files.folders.insert(kCfg); },
         ApplyResult::FileNotWritten},
        {"a value cannot be read",
         [&] {
             registry.unreadable.insert(
                 "system\\currentcontrolset\\services\\tcpip\\parameters\\defaultttl");
         },
         ApplyResult::ValuesUnreadable},
        {"the first snapshot cannot be written",
         [&] { files.folders.insert(kFolder + "\\first-snapshot.txt"); },
         ApplyResult::SnapshotNotWritten},
    };
    const std::string saved = files.files[kCfg];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.context);
        c.refuse();
        EXPECT_EQ(Apply(t1), c.result);
        EXPECT_EQ(folders.FileNames(kFolder), kept);
        EXPECT_EQ(files.files[kCfg], saved);
        files.folders.clear();
        registry.unreadable.clear();
    }
}

// Undo All Changes puts back the state before the first change however many came since
// (the first snapshot is never pruned), an adapter added since as it was when Zorvane first
// wrote to it, and leaves nothing more to undo.
TEST_F(UndoTest, UndoAllPutsBackTheStateBeforeTheFirstChange) {
    const std::string adapter_b = kInterfaces + "\\{B}";
    testing::MemoryRegistry before = registry;
    before.AddKey(adapter_b);
    before.Put(adapter_b, "MTU", kRegDword, DwordBytes(1300));
    ASSERT_EQ(Apply(t1), ApplyResult::Applied);
    registry.AddKey(adapter_b);
    registry.Put(adapter_b, "MTU", kRegDword, DwordBytes(1300));
    ApplyTimes(24);

    UndoResult undo = UndoAllChanges({files, folders, registry}, kDir);
    EXPECT_EQ(undo.outcome, UndoOutcome::Undone);
    EXPECT_EQ(registry.Dump(), before.Dump());
    EXPECT_EQ(files.files.count(kCfg), 0u);
    EXPECT_EQ(folders.FileNames(kFolder), std::vector<std::string>{"first-snapshot.txt"});
    EXPECT_EQ(Undo().outcome, UndoOutcome::NothingToUndo);
}

// Undo puts back only what Zorvane writes: a snapshot naming anything else is refused.
TEST_F(UndoTest, ASnapshotNamingWhatZorvaneDoesNotWriteIsDamaged) {
    ASSERT_EQ(Apply(t1), ApplyResult::Applied);
    const std::string path = kFolder + "\\snapshot-000001.txt";
    const std::string applied = registry.Dump();
    const std::string run = kRun;
    struct Case {
        Snapshot snapshot;
        std::string reason;
    };
    const RegistryValue text{kRegSz, std::string("x.exe\0", 6)};
    const Case cases[] = {
        {{{}, {{run, "Tool", text}}, std::nullopt},
         "it names a value Zorvane does not write: " + run + "\\Tool"},
        {{{}, {{kTcpip, "Tool", text}}, std::nullopt},
         "it names a value Zorvane does not write: " + kTcpip + "\\Tool"},
        {{{}, {{kInterfaces + "\\{A}\\Sub", "MTU", text}}, std::nullopt},
         "it names a value Zorvane does not write: " + kInterfaces + "\\{A}\\Sub\\MTU"},
        {{{"SOFTWARE\\Tool"}, {}, std::nullopt},
         "it names a key Zorvane does not write: SOFTWARE\\Tool"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        files.files[path] = FormatSnapshot(c.snapshot);
        UndoResult undo = Undo();
        EXPECT_EQ(undo.outcome, UndoOutcome::Damaged);
        EXPECT_EQ(undo.reason, c.reason);
        EXPECT_EQ(registry.Dump(), applied);
    }
}

// An adapter removed since the change is not brought back, nor its keys Zorvane made.
TEST_F(UndoTest, UndoLeavesAnAdapterRemovedSinceAway) {
    registry.Put(kInterfaces + "\\{A}", "MTU", kRegDword, DwordBytes(1400));
    ASSERT_EQ(Apply(t1), ApplyResult::Applied);
    ASSERT_EQ(registry.DeleteKey(RegistryRoot::LocalMachine, kInterfaces + "\\{A}"), 0);
    EXPECT_EQ(Undo().outcome, UndoOutcome::Undone);
    EXPECT_FALSE(registry.HasKey(kInterfaces + "\\{A}"));
    EXPECT_FALSE(registry.HasKey(kServices + "\\{A}"));
}

// The interfaces are listed once per Apply: one that appears meanwhile is not written, as
// its snapshot could not undo it.
TEST(ApplyInterfacesTest, AnAdapterAppearingDuringApplyIsNotWritten) {
    struct AdapterArrives : testing::MemoryRegistry {
        bool arrived = false;
        int32_t EnumKey(RegistryKey key, uint32_t index, std::string* name) override {
            int32_t result = MemoryRegistry::EnumKey(key, index, name);
            if (result == kErrorNoMoreItems && !arrived) {
                arrived = true;
                AddKey(kInterfaces + "\\{C}");
            }
            return result;
        }
    } registry;
    registry.AddKey(kInterfaces + "\\{A}");
    testing::MemoryFileSystem files;
    testing::MemoryFolders folders{files};
    TuningSettings t1;
    ApplyPreset(t1, 4, WindowsRelease::Vista);
    ASSERT_EQ(SaveSettingsAndApply(files, folders, registry, kDir, t1, WindowsRelease::Vista),
              ApplyResult::Applied);
    EXPECT_TRUE(registry.Dword(kInterfaces + "\\{A}", "MTU"));
    EXPECT_FALSE(registry.Value(kInterfaces + "\\{C}", "MTU"));
}

}  // namespace
}  // namespace zv
