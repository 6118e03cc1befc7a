// Which saved tuning choices the settings window can produce; see IsValidSavedChoice.
#include <functional>
#include <optional>

#include "sysconfig/settings_file_reader.h"
#include "tuning/value_lists.h"

namespace zv {
namespace {

using ListValue = std::function<std::optional<int32_t>(int16_t)>;

bool InRange(int32_t value, int32_t min, int32_t max) {
    return value >= min && value <= max;
}

// A typed value: NotSet at Windows Default, within the window's range when Custom.
bool TypedValueAgrees(bool custom, int32_t value, int32_t min, int32_t max) {
    return custom ? InRange(value, min, max) : value == NotSet;
}

// A picked value: nothing picked at Windows Default, the item's value when Custom.
bool PickedValueAgrees(bool custom, int16_t index, int32_t value, const ListValue& value_at) {
    if (!custom) {
        return index == NoSelection && value == NotSet;
    }
    auto item = value_at(index);
    return item && *item == value;
}

// The window reckons a custom RWIN on the MTU held when the multiplier is picked, and the
// MTU may change afterwards: so the RWIN is some custom MTU (or 1500) times the multiplier.
bool RwinAgrees(const TuningSettings& s) {
    if (!s.RWINCustom) {
        return s.RWINIndex == NoSelection && s.RWIN == NotSet;
    }
    auto multiplier = RwinMultiplierAt(s.RWINIndex);
    return multiplier && s.RWIN % *multiplier == 0 &&
           InRange(s.RWIN / *multiplier, kCustomMtuMin, kCustomMtuMax);
}

// The connection lists may have no selection, and then hold 0.
bool ConnectionsAgree(int16_t index, int32_t value) {
    if (index == NoSelection) {
        return value == 0;
    }
    auto item = MscpsAt(index);
    return item && *item == value;
}

bool IsValidManualChoice(const TuningSettings& s) {
    return TypedValueAgrees(s.MTUCustom, s.MTU, kCustomMtuMin, kCustomMtuMax) && RwinAgrees(s) &&
           TypedValueAgrees(s.TTLCustom, s.TTL, kCustomTtlMin, kCustomTtlMax) &&
           PickedValueAgrees(s.SKACustom, s.SKAIndex, s.SKA, SkaAt) &&
           PickedValueAgrees(s.NDICustom, s.NDIIndex, s.NDI, NdiAt) &&
           ConnectionsAgree(s.MSCPS0Index, s.MSCPS0) && ConnectionsAgree(s.MSCPS1Index, s.MSCPS1);
}

}  // namespace

bool IsValidSavedChoice(const TuningSettings& s) {
    if (!InRange(s.ConnectionType, 0, kConnectionTypeCount - 1) ||
        !InRange(s.OptiMode, AutomaticMode, ManualMode)) {
        return false;
    }
    return s.OptiMode != ManualMode || IsValidManualChoice(s);
}

}  // namespace zv
