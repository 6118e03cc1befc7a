#include "tuning/value_lists.h"

#include <array>
#include <limits>

namespace zv {
namespace {

constexpr std::array<int32_t, 11> kRwinMultipliers = {4, 6, 8, 10, 12, 14, 16, 32, 64, 128, 255};
constexpr int kSkaMinutes = 60;
constexpr int kNdiCount = 7;
constexpr int32_t kMscpsFirst = 2;
constexpr int32_t kMscpsLast = 60;

bool InRange(int16_t position, int count) {
    return position >= 0 && position < count;
}

}  // namespace

std::vector<std::string> ConnectionTypeItems() {
    return {"Dial-up (Modem)", "DSL/PPPoE", "ISDN", "ADSL/Cable", "T1"};
}

std::vector<std::string> RwinItems() {
    std::vector<std::string> items;
    for (int32_t multiplier : kRwinMultipliers) {
        items.push_back("x" + std::to_string(multiplier));
    }
    return items;
}

std::vector<std::string> SkaItems() {
    std::vector<std::string> items;
    for (int minutes = 1; minutes <= kSkaMinutes; ++minutes) {
        items.push_back(std::to_string(minutes) + " min.");
    }
    return items;
}

std::vector<std::string> NdiItems() {
    std::vector<std::string> items;
    for (int16_t position = 0; position < kNdiCount; ++position) {
        items.push_back(std::to_string(*NdiAt(position)));
    }
    return items;
}

std::vector<std::string> MscpsItems() {
    std::vector<std::string> items;
    for (int32_t count = kMscpsFirst; count <= kMscpsLast; ++count) {
        items.push_back(std::to_string(count));
    }
    return items;
}

std::optional<int32_t> RwinMultiplierAt(int16_t position) {
    if (!InRange(position, kRwinMultipliers.size())) {
        return std::nullopt;
    }
    return kRwinMultipliers[position];
}

std::optional<int32_t> SkaAt(int16_t position) {
    if (!InRange(position, kSkaMinutes)) {
        return std::nullopt;
    }
    return (position + 1) * 60000;
}

std::optional<int32_t> NdiAt(int16_t position) {
    if (!InRange(position, kNdiCount)) {
        return std::nullopt;
    }
    return position == 0 ? 0 : 1 << position;
}

std::optional<int32_t> MscpsAt(int16_t position) {
    if (!InRange(position, kMscpsLast - kMscpsFirst + 1)) {
        return std::nullopt;
    }
    return position + kMscpsFirst;
}

std::optional<int32_t> CustomRwin(int16_t position, int32_t mtu) {
    auto multiplier = RwinMultiplierAt(position);
    if (!multiplier) {
        return std::nullopt;
    }
    int64_t base = mtu == NotSet ? kRwinMtuWhenNotSet : mtu;
    int64_t rwin = base * *multiplier;
    if (rwin < std::numeric_limits<int32_t>::min() || rwin > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(rwin);
}

std::optional<int32_t> CustomRwinOf(const TuningSettings& s) {
    return CustomRwin(s.RWINIndex, s.MTUCustom ? s.MTU : NotSet);
}

TuningSettings AsApplied(TuningSettings settings) {
    std::optional<int32_t> rwin = settings.RWINCustom ? CustomRwinOf(settings) : std::nullopt;
    if (rwin) {
        settings.RWIN = *rwin;
    }
    return settings;
}

}  // namespace zv
