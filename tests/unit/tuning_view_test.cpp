// The tuning area driven as a user and the load sequence drive it, without a window.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/recording_ui.h"
#include "fakes/settings_records.h"
#include "sysconfig/saved_choice_rules.h"
#include "tuning/presets.h"
#include "main_window/tuning_view.h"

namespace zv::main_window {
namespace {

constexpr WindowsRelease kGroupA = WindowsRelease::Windows2000;
constexpr WindowsRelease kGroupB = WindowsRelease::Windows98;

class TuningViewTest : public ::testing::Test {
  protected:
    TuningViewTest() { window.FillValueLists(); }

    // The window after a load of the given settings.
    void Load(const TuningSettings& saved) {
        current = saved;
        window.SetLoading(true);
        window.ShowSettingsInWindow();
        window.SetLoading(false);
    }

    void SwitchToManual() { window.optimization_mode[1].Select(); }

    TuningSettings Preset(int16_t type) {
        TuningSettings preset;
        ApplyPreset(preset, type, release);
        return preset;
    }

    TuningSettings current;
    TuningSettings defaults = InitialDefaultSettings();
    WindowsRelease release = kGroupA;
    testing::CountingBeeper beeper;
    int applies = 0;
    std::vector<std::string> explained;
    std::string mode_text;
    TuningView window{
        TuningRecords{current, defaults, release}, beeper,
        TuningAreaHooks{[this] { ++applies; },
                        [this](const std::string& type) { explained.push_back(type); },
                        [this](const std::string& word) { mode_text = "Mode: " + word; }}};
};

TEST_F(TuningViewTest, LoadsAutomaticModeAsThePresetOfTheSavedType) {
    TuningSettings saved;
    saved.ConnectionType = 4;
    Load(saved);

    EXPECT_EQ(current, Preset(4));
    EXPECT_EQ(window.connection_type_list.selection(), 4);
    EXPECT_TRUE(window.optimization_mode[0].selected());
    EXPECT_EQ(mode_text, "Mode: Optimize");
    EXPECT_EQ(applies, 0);
    EXPECT_TRUE(explained.empty());
    // Every tuning control is disabled and empty.
    EXPECT_FALSE(window.mtu.frame.enabled());
    EXPECT_FALSE(window.mtu.windows_default.selected());
    EXPECT_FALSE(window.mtu.custom.selected());
    EXPECT_FALSE(window.path_mtu_discovery.enabled());
    EXPECT_EQ(window.path_mtu_discovery.value(), kUnchecked);
    EXPECT_EQ(window.http10_connections.selection(), ui::kNoSelection);
    EXPECT_FALSE(window.http11_connections.enabled());
    EXPECT_TRUE(window.connection_type_list.enabled());
}

TEST_F(TuningViewTest, LoadsManualModeIntoTheControlsAndRecomputesRwinFromTheMtu) {
    TuningSettings saved = testing::ManualChoice();
    saved.ConnectionType = 2;
    saved.MTU = 1500;
    saved.RWIN = 12345;  // stale: the file may carry an RWIN reckoned on another MTU
    saved.SKACustom = saved.BlackHole = true;
    saved.SKAIndex = 9;
    saved.SKA = 600000;
    saved.PMTU = false;
    saved.Http10ConnectionsIndex = 4;
    saved.Http10Connections = 6;
    Load(saved);

    TuningSettings expected = saved;
    expected.RWIN = 96000;
    EXPECT_EQ(current, expected);
    EXPECT_EQ(window.mtu.value.text(), "1500");
    EXPECT_TRUE(window.mtu.value.enabled());
    EXPECT_TRUE(window.ttl.windows_default.selected());
    EXPECT_FALSE(window.ttl.value.enabled());
    EXPECT_EQ(window.rwin.value.SelectedText(), "x64");
    EXPECT_EQ(window.ska.value.SelectedText(), "10 min.");
    EXPECT_EQ(window.ndi.value.SelectedText(), "32");
    EXPECT_EQ(window.black_hole_detection.value(), kChecked);
    EXPECT_EQ(window.http10_connections.SelectedText(), "6");
    EXPECT_TRUE(window.optimization_mode[1].selected());
    EXPECT_EQ(mode_text, "Mode: Manual");
    EXPECT_TRUE(explained.empty());  // no dialog while loading
}

TEST_F(TuningViewTest, ConnectionTypePickAppliesAtOnceOnlyInAutomaticMode) {
    Load(TuningSettings{});
    window.connection_type_list.SetSelection(0);  // the type already held: nothing
    EXPECT_EQ(applies, 0);

    window.connection_type_list.SetSelection(1);
    EXPECT_EQ(current, Preset(1));
    EXPECT_EQ(applies, 1);

    SwitchToManual();
    current.MTU = 1234;
    window.connection_type_list.SetSelection(3);
    EXPECT_EQ(current.ConnectionType, 3);
    EXPECT_EQ(current.MTU, 1234);
    EXPECT_EQ(applies, 1);
}

TEST_F(TuningViewTest, PresetFollowsTheWindowsRelease) {
    release = kGroupB;
    Load(TuningSettings{});
    window.connection_type_list.SetSelection(4);
    EXPECT_EQ(current, Preset(4));  // group B's, whose MTU is 1500 where group A's is 7240
}

TEST_F(TuningViewTest, SwitchingToManualResetsToWindowsDefaultsAndExplains) {
    Load(TuningSettings{});
    window.connection_type_list.SetSelection(2);
    SwitchToManual();

    EXPECT_EQ(explained, std::vector<std::string>{"ISDN"});
    EXPECT_EQ(mode_text, "Mode: Manual");
    // What Restore writes, the type kept for every type, not only DSL/PPPoE.
    TuningSettings expected = testing::RestoredSettings();
    expected.ConnectionType = 2;
    EXPECT_EQ(current, expected);
    EXPECT_EQ(window.http11_connections.SelectedText(), "4");
    EXPECT_TRUE(window.mtu.windows_default.selected());
    EXPECT_TRUE(window.ndi.windows_default.selected());
    EXPECT_TRUE(window.mtu.custom.enabled());
    EXPECT_FALSE(window.mtu.value.enabled());
    EXPECT_FALSE(window.rwin.value.enabled());
    EXPECT_EQ(window.path_mtu_discovery.value(), kChecked);
    EXPECT_EQ(window.connection_type_list.SelectedText(), "ISDN");
}

// Restore in the window leaves in the record exactly what /restore writes without one,
// whatever the window showed before.
TEST_F(TuningViewTest, RestoreShowsWhatTheWindowlessRestoreWrites) {
    TuningSettings automatic;
    automatic.ConnectionType = 4;
    TuningSettings custom = testing::ManualChoice();
    custom.BlackHole = custom.SKACustom = true;
    custom.PMTU = false;
    custom.SKAIndex = 9;
    custom.SKA = 600000;
    custom.Http10ConnectionsIndex = 4;
    custom.Http10Connections = 6;
    for (const TuningSettings& before : {automatic, custom}) {
        SCOPED_TRACE("from type " + std::to_string(before.ConnectionType));
        Load(before);
        window.SetTuningControlsEnabled(true);
        window.ResetToWindowsDefaults();
        EXPECT_EQ(current,
                  WindowsDefaultsToRestore(InitialDefaultSettings(), before.ConnectionType));
    }
}

TEST_F(TuningViewTest, BackToAutomaticDropsManualValuesForThePreset) {
    Load(TuningSettings{});
    window.connection_type_list.SetSelection(3);
    SwitchToManual();
    window.mtu.custom.Select();
    window.mtu.value.SetText("900");
    window.optimization_mode[0].Select();

    EXPECT_EQ(current, Preset(3));
    EXPECT_EQ(mode_text, "Mode: Automatic");
    EXPECT_FALSE(window.mtu.custom.selected());
    EXPECT_EQ(window.mtu.value.text(), "");
    EXPECT_FALSE(window.mtu.value.enabled());

    SwitchToManual();
    EXPECT_EQ(explained, (std::vector<std::string>{"ADSL/Cable", "ADSL/Cable"}));
}

TEST_F(TuningViewTest, CustomValuesAreStoredAsPickedAndWindowsDefaultClearsThem) {
    Load(TuningSettings{});
    SwitchToManual();
    window.rwin.custom.Select();
    window.rwin.value.SetSelection(10);
    EXPECT_EQ(current.RWIN, 255 * 1500);  // the MTU at Windows Default counts as 1500
    window.mtu.custom.Select();
    window.mtu.value.SetText("1500");
    window.rwin.value.SetSelection(8);
    EXPECT_EQ(current.RWIN, 96000);  // 64 x 1500, not 64 x 1460
    window.mtu.value.SetText("576");
    EXPECT_EQ(current.MTU, 576);
    EXPECT_EQ(current.RWIN, 96000);  // a later MTU does not change the picked RWIN

    window.ska.custom.Select();
    window.ska.value.SetSelection(59);
    EXPECT_EQ(current.SKA, 3600000);
    window.ndi.custom.Select();
    window.ndi.value.SetSelection(4);
    EXPECT_EQ(current.NDI, 16);
    window.ttl.custom.Select();
    window.ttl.value.SetText("128");
    EXPECT_EQ(current.TTL, 128);
    window.http10_connections.SetSelection(4);
    EXPECT_EQ(current.Http10Connections, 6);
    window.black_hole_detection.Toggle();
    EXPECT_TRUE(current.BlackHole);

    window.rwin.windows_default.Select();
    EXPECT_EQ(current.RWIN, NotSet);
    EXPECT_EQ(current.RWINIndex, NoSelection);
    EXPECT_EQ(window.rwin.value.selection(), ui::kNoSelection);
    window.mtu.windows_default.Select();
    EXPECT_EQ(current.MTU, NotSet);
    EXPECT_FALSE(current.MTUCustom);
    EXPECT_EQ(window.mtu.value.text(), "");
    window.mtu.value.SetText("7");  // a box locked at "Windows Default" stores nothing
    EXPECT_EQ(current.MTU, NotSet);

    window.mtu.value.SetText("");
    window.mtu.custom.Select();
    EXPECT_EQ(current.MTU, NotSet);  // until the user types
    window.mtu.value.SetText("1");
    window.mtu.value.SetText("");
    EXPECT_EQ(current.MTU, 0);
}

TEST_F(TuningViewTest, AFoundMtuIsUsedInManualModeWithThePresetKeptAsCustomValues) {
    Load(TuningSettings{});
    window.connection_type_list.SetSelection(3);
    window.UseCustomMtu(1400);
    EXPECT_EQ(explained, std::vector<std::string>{"ADSL/Cable"});
    EXPECT_TRUE(window.optimization_mode[1].selected());
    EXPECT_EQ(mode_text, "Mode: Manual");
    TuningSettings expected = Preset(3);
    expected.OptimizationMode = ManualMode;
    expected.MTUCustom = expected.RWINCustom = expected.TTLCustom = true;
    expected.SKACustom = expected.NDICustom = true;
    expected.MTU = 1400;
    EXPECT_EQ(current, expected);  // the preset's RWIN too, not one reckoned anew
    EXPECT_EQ(window.mtu.value.text(), "1400");
    EXPECT_TRUE(window.mtu.value.enabled());
    EXPECT_TRUE(window.rwin.custom.selected());
    EXPECT_EQ(window.rwin.value.selection(), expected.RWINIndex);
    EXPECT_EQ(window.ttl.value.text(), "128");
    EXPECT_EQ(window.ndi.value.selection(), expected.NDIIndex);
    EXPECT_EQ(window.path_mtu_discovery.value(), kChecked);
    EXPECT_EQ(window.http11_connections.selection(), expected.Http11ConnectionsIndex);
    EXPECT_EQ(applies, 1);  // the type pick in Automatic mode, not the MTU

    // Already in Manual mode: no reset, no explanation, the user's other values stay.
    window.ttl.custom.Select();
    window.ttl.value.SetText("64");
    window.UseCustomMtu(1492);
    EXPECT_EQ(explained.size(), 1u);
    EXPECT_EQ(current.MTU, 1492);
    EXPECT_EQ(current.TTL, 64);
    EXPECT_EQ(applies, 1);
}

TEST_F(TuningViewTest, NumberBoxesTakeOnlyDigitsUpToTheirLength) {
    Load(TuningSettings{});
    SwitchToManual();
    window.mtu.custom.Select();
    for (char key : std::string("1a5-0 0")) {
        window.mtu.value.Type(key);
    }
    EXPECT_EQ(window.mtu.value.text(), "1500");
    EXPECT_EQ(beeper.beeps, 3);
    window.mtu.value.Type('9');
    window.mtu.value.Type('9');  // a sixth digit does not fit
    EXPECT_EQ(window.mtu.value.text(), "15009");
    window.mtu.value.Type(ui::kBackspace);
    EXPECT_EQ(current.MTU, 1500);
    EXPECT_EQ(beeper.beeps, 3);

    window.mtu.value.Paste("1x");
    EXPECT_EQ(window.mtu.value.text(), "1500");
    EXPECT_EQ(beeper.beeps, 4);

    window.ttl.custom.Select();
    window.ttl.value.Paste("2550");
    EXPECT_EQ(window.ttl.value.text(), "255");
    EXPECT_EQ(current.TTL, 255);
}

// What the user does after switching to Manual mode, in one step or several.
using Arrange = std::function<void(TuningView&)>;
// A list's pair set to Custom, with no value picked.
Arrange Custom(PairControls<ui::ComboBox> TuningView::*pair) {
    return [pair](TuningView& w) { (w.*pair).custom.Select(); };
}
Arrange Unpicked(ui::ComboBox TuningView::*list) {
    return [list](TuningView& w) { (w.*list).SetSelection(ui::kNoSelection); };
}
// A text pair set to Custom with `text` typed.
Arrange Typed(PairControls<ui::TextBox> TuningView::*pair, const char* text) {
    return [pair, text](TuningView& w) {
        (w.*pair).custom.Select();
        (w.*pair).value.SetText(text);
    };
}
Arrange Both(Arrange first, Arrange second) {
    return [first, second](TuningView& w) {
        first(w);
        second(w);
    };
}

struct ValidationCase {
    const char* label;
    Arrange arrange;
    const char* message;  // nullptr: the checks pass
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ValidationCase& c, std::ostream* out) {
    *out << c.label;
}

class ValidationTest : public TuningViewTest,
                       public ::testing::WithParamInterface<ValidationCase> {};

// The window's state, as the record Apply takes from it, fails the first check only.
TEST_P(ValidationTest, ShowsTheFirstFailedCheckOnly) {
    Load(TuningSettings{});
    SwitchToManual();
    GetParam().arrange(window);

    std::optional<std::string> failure = ManualSettingsFailure(window.TakeValues());

    if (GetParam().message == nullptr) {
        EXPECT_FALSE(failure) << *failure;
    } else {
        EXPECT_EQ(failure, std::string(GetParam().message));
    }
}

constexpr const char* kBadMtu = "Invalid MTU. Enter Valid One.";
constexpr const char* kBadTtl = "Invalid TTL. Enter Valid One.";
const ValidationCase kValidationCases[] = {
    {"defaults", [](TuningView&) {}, nullptr},
    {"no_type",
     Both(Unpicked(&TuningView::connection_type_list), Unpicked(&TuningView::http10_connections)),
     "Invalid Connection Type. Select Valid One."},
    {"type_picked_again",
     Both(Unpicked(&TuningView::connection_type_list),
          [](TuningView& w) { w.connection_type_list.SetSelection(0); }),
     nullptr},
    {"no_http10", Both(Unpicked(&TuningView::http10_connections), Custom(&TuningView::rwin)),
     "Invalid MSCPS using HTTP 1.0 Value. Select Valid One."},
    {"no_http11", Unpicked(&TuningView::http11_connections),
     "Invalid MSCPS using HTTP 1.1 value. Select Valid One."},
    {"empty_mtu", Typed(&TuningView::mtu, ""), kBadMtu},
    {"mtu_0", Typed(&TuningView::mtu, "0"), kBadMtu},
    {"mtu_67", Typed(&TuningView::mtu, "67"), kBadMtu},
    {"mtu_65536", Typed(&TuningView::mtu, "65536"), kBadMtu},
    {"mtu_bounds_pass", Both(Typed(&TuningView::mtu, "65535"), Typed(&TuningView::ttl, "1")),
     nullptr},
    {"mtu_before_rwin", Both(Typed(&TuningView::mtu, ""), Custom(&TuningView::rwin)), kBadMtu},
    {"no_rwin", Custom(&TuningView::rwin), "Invalid RWIN. Select Valid One."},
    {"empty_ttl", Typed(&TuningView::ttl, ""), kBadTtl},
    {"ttl_0", Typed(&TuningView::ttl, "0"), kBadTtl},
    {"ttl_256", Typed(&TuningView::ttl, "256"), kBadTtl},
    {"no_ska", Custom(&TuningView::ska), "Invalid Session Keep Alive. Select Valid One."},
    {"no_ndi", Custom(&TuningView::ndi), "Invalid NDI Cache. Select Valid One."},
};
INSTANTIATE_TEST_SUITE_P(Checks, ValidationTest, ::testing::ValuesIn(kValidationCases),
                         [](const ::testing::TestParamInfo<ValidationCase>& info) {
                             return info.param.label;
                         });

TEST_F(TuningViewTest, MovingTheAreaMovesEveryControlAlike) {
    window.settings_frame.SetBounds({120, 600, 9000, 5000});
    window.http11_connections.SetBounds({7000, 4000, 1200, 315});
    window.MoveBy(0, -420);
    EXPECT_EQ(window.settings_frame.bounds().top, 180);
    EXPECT_EQ(window.http11_connections.bounds().top, 3580);
}

}  // namespace
}  // namespace zv::main_window
