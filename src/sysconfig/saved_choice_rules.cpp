#include "sysconfig/saved_choice_rules.h"

#include "tuning/value_lists.h"

namespace zv {
namespace {

using ListValue = std::optional<int32_t> (*)(int16_t position);

bool InRange(int32_t value, int32_t min, int32_t max) {
    return value >= min && value <= max;
}

bool IsConnectionType(int16_t type) {
    return InRange(type, 0, kConnectionTypeCount - 1);
}

bool IsCustomMtu(int32_t mtu) {
    return InRange(mtu, kCustomMtuMin, kCustomMtuMax);
}

bool IsCustomTtl(int32_t ttl) {
    return InRange(ttl, kCustomTtlMin, kCustomTtlMax);
}

// A typed value: NotSet at Windows Default, a value the program takes when Custom.
bool TypedValueAgrees(bool custom, int32_t value, bool (*takes)(int32_t)) {
    return custom ? takes(value) : value == NotSet;
}

// A picked value: nothing picked at Windows Default, the item's value when Custom.
bool PickedValueAgrees(bool custom, int16_t index, int32_t value, ListValue value_at) {
    if (!custom) {
        return index == NoSelection && value == NotSet;
    }
    auto item = value_at(index);
    return item && *item == value;
}

bool RwinAgrees(const TuningSettings& s) {
    if (!s.RWINCustom) {
        return s.RWINIndex == NoSelection && s.RWIN == NotSet;
    }
    return CustomRwinOf(s) == s.RWIN;
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
    return TypedValueAgrees(s.MTUCustom, s.MTU, IsCustomMtu) && RwinAgrees(s) &&
           TypedValueAgrees(s.TTLCustom, s.TTL, IsCustomTtl) &&
           PickedValueAgrees(s.SKACustom, s.SKAIndex, s.SKA, SkaAt) &&
           PickedValueAgrees(s.NDICustom, s.NDIIndex, s.NDI, NdiAt) &&
           ConnectionsAgree(s.Http10ConnectionsIndex, s.Http10Connections) &&
           ConnectionsAgree(s.Http11ConnectionsIndex, s.Http11Connections);
}

}  // namespace

std::optional<std::string> ManualSettingsFailure(const TuningSettings& s) {
    struct Check {
        bool failed;
        const char* message;
    };
    const Check checks[] = {
        {!IsConnectionType(s.ConnectionType), "Invalid Connection Type. Select Valid One."},
        {!MscpsAt(s.Http10ConnectionsIndex),
         "Invalid MSCPS using HTTP 1.0 Value. Select Valid One."},
        {!MscpsAt(s.Http11ConnectionsIndex),
         "Invalid MSCPS using HTTP 1.1 value. Select Valid One."},
        {s.MTUCustom && !IsCustomMtu(s.MTU), "Invalid MTU. Enter Valid One."},
        {s.RWINCustom && !RwinMultiplierAt(s.RWINIndex), "Invalid RWIN. Select Valid One."},
        {s.TTLCustom && !IsCustomTtl(s.TTL), "Invalid TTL. Enter Valid One."},
        {s.SKACustom && !SkaAt(s.SKAIndex), "Invalid Session Keep Alive. Select Valid One."},
        {s.NDICustom && !NdiAt(s.NDIIndex), "Invalid NDI Cache. Select Valid One."},
    };
    for (const Check& check : checks) {
        if (check.failed) {
            return std::string(check.message);
        }
    }
    return std::nullopt;
}

bool IsValidSavedChoice(const TuningSettings& s) {
    if (!IsConnectionType(s.ConnectionType) ||
        !InRange(s.OptimizationMode, AutomaticMode, ManualMode)) {
        return false;
    }
    return s.OptimizationMode != ManualMode || IsValidManualChoice(s);
}

}  // namespace zv
