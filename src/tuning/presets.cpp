#include "tuning/presets.h"

#include "tuning/value_lists.h"

namespace zv {
namespace {

// The rest of a preset follows from these: RWIN from the multiplier and MTU - 40 (the
// segment a packet of that MTU carries), SKA, NDI and the connection limits from their
// list positions (which is why the lists' order must never change).
struct PresetRow {
    int32_t mtu;
    int16_t rwin_index;
    int32_t ttl;
    int16_t ska_index;
    int16_t ndi_index;
    int16_t mscps0_index;
    int16_t mscps1_index;
};

// By preset group (A, B), then connection type: Dial-up (Modem), DSL/PPPoE, ISDN, ADSL/Cable
// and T1.
constexpr PresetRow kPresets[2][kConnectionTypeCount] = {
    {{576, 0, 128, 9, 0, 0, 2},
     {1002, 8, 128, 9, 5, 0, 2},
     {1500, 9, 128, 9, 5, 2, 4},
     {1500, 8, 128, 9, 5, 2, 4},
     {7240, 10, 128, 9, 5, 2, 4}},
    {{576, 0, 128, 59, 4, 0, 2},
     {1500, 8, 64, 59, 5, 0, 2},
     {1500, 9, 64, 59, 5, 0, 2},
     {1500, 8, 64, 59, 5, 0, 2},
     {1500, 10, 64, 59, 5, 0, 2}},
};

TuningSettings FromRow(const PresetRow& row, int16_t connection_type) {
    TuningSettings preset;  // Custom flags false, BlackHole false
    preset.ConnectionType = connection_type;
    preset.OptimizationMode = AutomaticMode;
    preset.MTU = row.mtu;
    preset.RWINIndex = row.rwin_index;
    preset.RWIN = *RwinMultiplierAt(row.rwin_index) * (row.mtu - kIpAndTcpHeaders);
    preset.TTL = row.ttl;
    preset.SKAIndex = row.ska_index;
    preset.SKA = *SkaAt(row.ska_index);
    preset.NDIIndex = row.ndi_index;
    preset.NDI = *NdiAt(row.ndi_index);
    preset.PMTU = true;
    preset.Http10ConnectionsIndex = row.mscps0_index;
    preset.Http10Connections = *MscpsAt(row.mscps0_index);
    preset.Http11ConnectionsIndex = row.mscps1_index;
    preset.Http11Connections = *MscpsAt(row.mscps1_index);
    return preset;
}

// The connection limits Windows starts with, as positions of their list.
constexpr int16_t kRestoredHttp10Position = 0;
constexpr int16_t kRestoredHttp11Position = 2;

}  // namespace

void ApplyPreset(TuningSettings& current, int16_t connection_type, WindowsRelease windows_release) {
    if (connection_type < 0 || connection_type >= kConnectionTypeCount) {
        return;
    }
    const auto group = static_cast<size_t>(PropertiesOf(windows_release).presets);
    current = FromRow(kPresets[group][connection_type], connection_type);
}

TuningSettings WindowsDefaultsToRestore(const TuningSettings& defaults, int16_t connection_type) {
    TuningSettings restored = defaults;
    restored.OptimizationMode = ManualMode;
    restored.ConnectionType = connection_type;
    restored.MTUCustom = restored.RWINCustom = restored.TTLCustom = false;
    restored.SKACustom = restored.NDICustom = false;
    restored.RWINIndex = restored.SKAIndex = restored.NDIIndex = NoSelection;
    restored.PMTU = true;
    restored.BlackHole = false;
    restored.Http10ConnectionsIndex = kRestoredHttp10Position;
    restored.Http10Connections = MscpsAt(kRestoredHttp10Position).value_or(0);
    restored.Http11ConnectionsIndex = kRestoredHttp11Position;
    restored.Http11Connections = MscpsAt(kRestoredHttp11Position).value_or(0);
    return restored;
}

}  // namespace zv
