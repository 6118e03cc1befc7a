// The presets of Automatic mode, row by row, and what ApplyPreset leaves in the record.
#include <gtest/gtest.h>

#include <utility>

#include "tuning/presets.h"

namespace zv {
namespace {

struct Row {
    int32_t mtu, rwin_index, rwin, ttl, ska_index, ska, ndi_index, ndi;
    int32_t mscps0_index, mscps0, mscps1_index, mscps1;
};

const Row kGroupA[] = {
    {576, 0, 2144, 128, 9, 600000, 0, 0, 0, 2, 2, 4},
    {1002, 8, 61568, 128, 9, 600000, 5, 32, 0, 2, 2, 4},
    {1500, 9, 186880, 128, 9, 600000, 5, 32, 2, 4, 4, 6},
    {1500, 8, 93440, 128, 9, 600000, 5, 32, 2, 4, 4, 6},
    {7240, 10, 1836000, 128, 9, 600000, 5, 32, 2, 4, 4, 6},
};

const Row kGroupB[] = {
    {576, 0, 2144, 128, 59, 3600000, 4, 16, 0, 2, 2, 4},
    {1500, 8, 93440, 64, 59, 3600000, 5, 32, 0, 2, 2, 4},
    {1500, 9, 186880, 64, 59, 3600000, 5, 32, 0, 2, 2, 4},
    {1500, 8, 93440, 64, 59, 3600000, 5, 32, 0, 2, 2, 4},
    {1500, 10, 372300, 64, 59, 3600000, 5, 32, 0, 2, 2, 4},
};

// A record whose every field differs from any preset, so that a field the preset forgets
// to set shows up.
TuningSettings Scribbled() {
    TuningSettings s;
    s.OptimizationMode = ManualMode;
    s.MTU = s.RWIN = s.TTL = s.SKA = s.NDI = s.Http10Connections = s.Http11Connections = 12345;
    s.RWINIndex = s.SKAIndex = s.NDIIndex = s.Http10ConnectionsIndex = s.Http11ConnectionsIndex =
        33;
    s.MTUCustom = s.RWINCustom = s.TTLCustom = s.SKACustom = s.NDICustom = true;
    s.PMTU = false;
    s.BlackHole = true;
    return s;
}

void ExpectPreset(const Row& row, int16_t type, WindowsRelease release) {
    SCOPED_TRACE("type " + std::to_string(type) + ", on " + PropertiesOf(release).name);
    TuningSettings s = Scribbled();
    ApplyPreset(s, type, release);
    TuningSettings expected;
    expected.ConnectionType = type;
    expected.OptimizationMode = AutomaticMode;
    expected.MTU = row.mtu;
    expected.RWINIndex = row.rwin_index;
    expected.RWIN = row.rwin;
    expected.TTL = row.ttl;
    expected.SKAIndex = row.ska_index;
    expected.SKA = row.ska;
    expected.NDIIndex = row.ndi_index;
    expected.NDI = row.ndi;
    expected.PMTU = true;
    expected.BlackHole = false;
    expected.Http10ConnectionsIndex = row.mscps0_index;
    expected.Http10Connections = row.mscps0;
    expected.Http11ConnectionsIndex = row.mscps1_index;
    expected.Http11Connections = row.mscps1;
    EXPECT_EQ(s, expected);
}

// Windows Me and the NT releases take group A; the older 9x releases, and a release not
// recognised, group B.
TEST(PresetsTest, EachReleaseTakesItsGroup) {
    const std::pair<WindowsRelease, const Row*> cases[] = {
        {WindowsRelease::WindowsMe, kGroupA}, {WindowsRelease::WindowsXp, kGroupA},
        {WindowsRelease::Vista, kGroupA},     {WindowsRelease::Unrecognised, kGroupB},
        {WindowsRelease::Win32s, kGroupB},    {WindowsRelease::Windows98, kGroupB},
    };
    for (const auto& [release, group] : cases) {
        for (int16_t type = 0; type < 5; ++type) {
            ExpectPreset(group[type], type, release);
        }
    }
}

TEST(PresetsTest, UnknownConnectionTypeLeavesTheRecordAlone) {
    for (int16_t type : {-1, 5, 32767}) {
        TuningSettings s = Scribbled();
        ApplyPreset(s, type, WindowsRelease::Vista);
        EXPECT_EQ(s, Scribbled()) << type;
    }
}

}  // namespace
}  // namespace zv
