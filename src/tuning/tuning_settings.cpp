#include "tuning/tuning_settings.h"

#include <tuple>

namespace zv {
namespace {

auto Fields(const TuningSettings& s) {
    return std::tie(s.ConnectionType, s.OptimizationMode, s.MTU, s.MTUCustom, s.RWIN, s.RWINCustom,
                    s.RWINIndex, s.TTL, s.TTLCustom, s.SKA, s.SKACustom, s.SKAIndex, s.NDI,
                    s.NDICustom, s.NDIIndex, s.PMTU, s.BlackHole, s.Http10Connections,
                    s.Http10ConnectionsIndex, s.Http11Connections, s.Http11ConnectionsIndex);
}

}  // namespace

bool operator==(const TuningSettings& a, const TuningSettings& b) {
    return Fields(a) == Fields(b);
}

TuningSettings InitialDefaultSettings() {
    TuningSettings defaults;
    defaults.MTU = NotSet;
    defaults.RWIN = NotSet;
    defaults.TTL = NotSet;
    defaults.SKA = NotSet;
    defaults.NDI = NotSet;
    return defaults;
}

}  // namespace zv
