// The record of everything the main program tunes, and the Windows-default baseline it
// starts from. The fields follow the settings file's order, but not always its keys: the
// file keeps the keys it has always had ("OptiMode", "MSCPS0", "MSCPS1", ...), since every
// Zorvane.cfg saved so far holds them, and its writer names each key where it writes it.
#pragma once

#include <cstdint>

namespace zv {

// A tuning value the program leaves to Windows: the registry writer removes it.
constexpr int32_t NotSet = -1;

// A list position with nothing selected.
constexpr int16_t NoSelection = -1;

// The IP and TCP headers of a packet: its segment (the MSS) is the MTU less these bytes.
constexpr int32_t kIpAndTcpHeaders = 40;

constexpr int16_t AutomaticMode = 0;
constexpr int16_t ManualMode = 1;

// Custom values the settings window accepts; a settings file outside them is refused.
constexpr int32_t kCustomMtuMin = 68;
constexpr int32_t kCustomMtuMax = 65535;
constexpr int32_t kCustomTtlMin = 1;
constexpr int32_t kCustomTtlMax = 255;

struct TuningSettings {
    int16_t ConnectionType = 0;
    int16_t OptimizationMode = AutomaticMode;
    int32_t MTU = 0;
    bool MTUCustom = false;
    int32_t RWIN = 0;
    bool RWINCustom = false;
    int16_t RWINIndex = 0;
    int32_t TTL = 0;
    bool TTLCustom = false;
    int32_t SKA = 0;
    bool SKACustom = false;
    int16_t SKAIndex = 0;
    int32_t NDI = 0;
    bool NDICustom = false;
    int16_t NDIIndex = 0;
    bool PMTU = false;
    bool BlackHole = false;
    int32_t Http10Connections = 0;
    int16_t Http10ConnectionsIndex = 0;
    int32_t Http11Connections = 0;
    int16_t Http11ConnectionsIndex = 0;
};

bool operator==(const TuningSettings& a, const TuningSettings& b);
inline bool operator!=(const TuningSettings& a, const TuningSettings& b) {
    return !(a == b);
}

// DefaultSettings as the program starts: the five tuning values NotSet, all else 0.
TuningSettings InitialDefaultSettings();

}  // namespace zv
