// Zorvane.cfg: exact bytes, round trips, the strict reader, and what saving reports.
#include <gtest/gtest.h>

#include "fakes/memory_machine.h"
#include "fakes/settings_records.h"
#include "sysconfig/settings_file.h"
#include "sysconfig/settings_file_reader.h"
#include "tuning/presets.h"
#include "tuning/value_lists.h"

namespace zv {
namespace {

const std::string kDir = "C:\\Program Files\\Zorvane";
const std::string kPath = kDir + "\\Zorvane.cfg";
constexpr WindowsRelease kRelease = WindowsRelease::Vista;

const char kManualText[] =
    "ConnectionType,3\r\nOptiMode,1\r\nMTU,#TRUE#,1492\r\nRWIN,#TRUE#,8,95488\r\n"
    "TTL,#FALSE#,-1\r\nSKA,#FALSE#,-1,-1\r\nNDI,#TRUE#,5,32\r\nPMTU,#TRUE#\r\n"
    "BlackHole,#FALSE#\r\nMSCPS0,0,2\r\nMSCPS1,2,4\r\n";

class SettingsFileTest : public ::testing::Test, protected testing::MemoryMachine {
  protected:
    TuningSettings Load(const std::string& text) {
        files.files[kPath] = text;
        TuningSettings current = before;
        LoadSettings(files, kDir, defaults, current);
        return current;
    }

    TuningSettings defaults = InitialDefaultSettings();
    TuningSettings before = [] {
        TuningSettings s;
        ApplyPreset(s, 4, kRelease);
        return s;
    }();
};

TEST_F(SettingsFileTest, AutomaticModeSavesTwoLines) {
    TuningSettings s;
    ApplyPreset(s, 0, kRelease);
    EXPECT_EQ(FormatSettingsFile(s), "ConnectionType,0\r\nOptiMode,0\r\n");
    EXPECT_EQ(FormatSettingsFile(s).size(), 30u);
}

TEST_F(SettingsFileTest, ManualModeSavesElevenLinesAndReadsBackTheSameRecord) {
    EXPECT_EQ(FormatSettingsFile(testing::ManualChoice()), kManualText);
    EXPECT_EQ(Load(kManualText), testing::ManualChoice());
    EXPECT_EQ(Load(FormatSettingsFile(testing::RestoredSettings())), testing::RestoredSettings());
}

TEST_F(SettingsFileTest, AutomaticFileSetsOnlyTypeAndMode) {
    TuningSettings expected = before;
    expected.ConnectionType = 2;
    EXPECT_EQ(Load("ConnectionType,2\r\nOptiMode,0\r\nMTU,#TRUE#,99\r\n"), expected);
}

// As a hand-edited file may look: other keys, blanks, bare line feeds, empty lines and lines
// of blanks, and numbers with any count of leading zeros.
TEST_F(SettingsFileTest, ReaderTakesKeysByPositionAndToleratesWhatAHandEditLeaves) {
    EXPECT_EQ(Load("Kind,3\nMode, 1\nA,#TRUE#,1492\nB,#TRUE#,8,95488\nC,#FALSE#,-1\n"
                   "D,#FALSE#,-1,-1\n\nE,#TRUE#,5,32\nF,#TRUE#\nG,#FALSE#\nH,0,2\nI,2,4"),
              testing::ManualChoice());
    EXPECT_EQ(Load("ConnectionType,3\r\n   \r\nOptiMode,1\r\n\t \r\nMTU,#TRUE#,"
                   "00000000000000000000001492\r\nRWIN,#TRUE#,0008,95488\r\nTTL,#FALSE#,-01\r\n"
                   "SKA,#FALSE#,-1,-1\r\nNDI,#TRUE#,5,32\r\nPMTU,#TRUE#\r\n \r\n"
                   "BlackHole,#FALSE#\r\nMSCPS0,0,2\r\nMSCPS1,2,4\r\n  "),
              testing::ManualChoice());
}

// Every custom MTU with every multiplier, the RWIN picked mid-typing, loads back as saved.
// The reader's rule runs everywhere; the text round trip, alike for every number, at the
// ends and the middle of the range.
TEST(SettingsRoundTripTest, EveryCustomMtuWithEveryMultiplierLoadsBackAsSaved) {
    const int32_t multipliers[] = {4, 6, 8, 10, 12, 14, 16, 32, 64, 128, 255};
    TuningSettings typed = testing::ManualChoice();
    for (int32_t mtu = kCustomMtuMin; mtu <= kCustomMtuMax; ++mtu) {
        for (int16_t position = 0; position < 11; ++position) {
            typed.MTU = mtu;
            typed.RWINIndex = position;
            typed.RWIN = multipliers[position] * (mtu / 10);
            TuningSettings saved = AsApplied(typed);
            bool text = mtu == kCustomMtuMin || mtu == 1500 || mtu == kCustomMtuMax;
            if (!IsValidSavedChoice(saved) || saved.RWIN != multipliers[position] * mtu ||
                (text && ParseSettingsFile(FormatSettingsFile(saved), {}) != saved)) {
                FAIL() << "MTU " << mtu << " x" << multipliers[position] << ": RWIN " << saved.RWIN;
            }
        }
    }
}

TEST_F(SettingsFileTest, MissingHiddenOrFolderFileGivesTheDefaults) {
    TuningSettings current = before;
    LoadSettings(files, kDir, defaults, current);
    EXPECT_EQ(current, defaults);

    files.hidden.insert(kPath);
    EXPECT_EQ(Load("ConnectionType,2\r\nOptiMode,0\r\n"), defaults);
    files.hidden.clear();
    files.folders.insert(kPath);
    EXPECT_EQ(Load("ConnectionType,2\r\nOptiMode,0\r\n"), defaults);
}

// Each broken file must load as the defaults as a whole, never as a half-read record.
TEST_F(SettingsFileTest, FileTheWindowCouldNotHaveWrittenGivesTheDefaults) {
    auto manual_with = [](const std::string& from, const std::string& to) {
        std::string text = kManualText;
        auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::string broken[] = {
        "",
        "ConnectionType,2\r\nOptiMode,1\r\n",                // truncated Manual file
        "ConnectionType,2\r\n",                              // no mode
        "ConnectionType,2x\r\nOptiMode,0\r\n",               // letters in a number
        "ConnectionType,5\r\nOptiMode,0\r\n",                // no such connection type
        "ConnectionType,-1\r\nOptiMode,0\r\n",               //
        "ConnectionType,1\r\nOptiMode,2\r\n",                // no such mode
        "ConnectionType,1\r\nOptiMode,65536\r\n",            // does not fit 16 bits
        manual_with("MTU,#TRUE#", "MTU,TRUE"),               // flag without its marks
        manual_with("PMTU,#TRUE#", "PMTU,#true#"),           //
        manual_with("1492", "67"),                           // MTU below its range
        manual_with("1492", "65536"),                        // MTU above its range
        manual_with("MTU,#TRUE#,1492", "MTU,#FALSE#,1492"),  // value at Windows Default
        manual_with("TTL,#FALSE#,-1", "TTL,#TRUE#,0"),       // TTL below its range
        manual_with("TTL,#FALSE#,-1", "TTL,#TRUE#,256"),     //
        manual_with("TTL,#FALSE#,-1", "TTL,#FALSE#,64"),     //
        manual_with("8,95488", "8,95489"),                   // RWIN not x64 of the MTU
        manual_with("8,95488", "8,96000"),                   // x64 of an MTU typed before
        manual_with("8,95488", "-1,95488"),                  // custom RWIN with nothing picked
        manual_with("8,95488", "11,95488"),                  // position outside the list
        manual_with("SKA,#FALSE#,-1,-1", "SKA,#FALSE#,-1,600000"),
        manual_with("SKA,#FALSE#,-1,-1", "SKA,#FALSE#,9,-1"),
        manual_with("SKA,#FALSE#,-1,-1", "SKA,#TRUE#,9,600001"),
        manual_with("SKA,#FALSE#,-1,-1", "SKA,#TRUE#,60,3660000"),
        manual_with("NDI,#TRUE#,5,32", "NDI,#TRUE#,5,33"),
        manual_with("NDI,#TRUE#,5,32", "NDI,#TRUE#,7,128"),
        manual_with("MSCPS0,0,2", "MSCPS0,0,3"),
        manual_with("MSCPS0,0,2", "MSCPS0,-1,2"),
        manual_with("MSCPS1,2,4", "MSCPS1,59,61"),
        manual_with("MSCPS1,2,4\r\n", "MSCPS1,2\r\n"),  // last field missing
    };
    for (const auto& text : broken) {
        EXPECT_EQ(Load(text), defaults) << text;
    }
    EXPECT_EQ(Load(manual_with("MSCPS0,0,2", "MSCPS0,-1,0")).Http10ConnectionsIndex, NoSelection)
        << "a connections list may be left without a selection";
}

TEST_F(SettingsFileTest, SavingReportsWhatReachedTheFileAndTheRegistry) {
    TuningSettings s;
    ApplyPreset(s, 1, kRelease);
    EXPECT_EQ(SaveSettingsAndApply(files, folders, registry, kDir, s, kRelease),
              ApplyResult::Applied);
    EXPECT_EQ(files.files[kPath], "ConnectionType,1\r\nOptiMode,0\r\n");
    EXPECT_FALSE(registry.log.empty());

    registry.writes_fail = true;
    EXPECT_EQ(
        SaveSettingsAndApply(files, folders, registry, kDir, testing::ManualChoice(), kRelease),
        ApplyResult::RegistryRefused);
    EXPECT_EQ(files.files[kPath], kManualText);

    registry = testing::MemoryRegistry();
    files.folders.insert(kPath);
    EXPECT_EQ(SaveSettingsAndApply(files, folders, registry, kDir, s, kRelease),
              ApplyResult::FileNotWritten);
    EXPECT_TRUE(registry.log.empty()) << "the registry must not change when the file did not";

    files.writes_fail = true;
    EXPECT_EQ(SaveSettingsAndApply(files, folders, registry, kDir, s, kRelease),
              ApplyResult::SnapshotNotWritten);
    EXPECT_TRUE(registry.log.empty()) << "nothing may change without a snapshot";
}

}  // namespace
}  // namespace zv
