#include "netstack/stack_netsh.h"

#include <algorithm>
#include <cctype>

namespace zv::netstack {
namespace {

using S = StackSetting;
using Arguments = std::vector<std::string>;

const char* const kLevelWords[] = {"disabled", "highlyrestricted", "restricted", "normal",
                                   "experimental"};
const char* const kProviderWords[] = {"default", "newreno", "ctcp", "dctcp",
                                      "ledbat",  "cubic",   "bbr2"};
// Vista and 7 know the provider only globally, with NewReno named "none".
const char* const kOldProviderWords[] = {"default", "none", "ctcp"};
const char* const kSwitchWords[] = {"disabled", "enabled"};

template <size_t N>
std::optional<std::string> Word(const char* const (&words)[N], uint32_t value) {
    return value < N ? std::optional<std::string>(words[value]) : std::nullopt;
}

Arguments Global(const std::string& assignment) {
    return {"int", "tcp", "set", "global", assignment};
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<Arguments> Mtu(const StackRow& row, uint32_t value) {
    // Index 0 is no interface's: Windows did not give one.
    if (!row.adapter || row.adapter->index == 0) {
        return std::nullopt;
    }
    const char* family = row.id.setting == S::Ipv4Mtu ? "ipv4" : "ipv6";
    return Arguments{"interface",
                     family,
                     "set",
                     "subinterface",
                     "interface=" + std::to_string(row.adapter->index),
                     "mtu=" + std::to_string(value),
                     "store=persistent"};
}

std::optional<Arguments> Provider(const StackRow& row, uint32_t value,
                                  const StackMachine& machine) {
    if (machine.Reach() == StackReach::Netsh) {
        auto word = Word(kOldProviderWords, value);
        return word ? std::optional<Arguments>(Global("congestionprovider=" + *word))
                    : std::nullopt;
    }
    auto word = Word(kProviderWords, value);
    if (!word) {
        return std::nullopt;
    }
    return Arguments{"int",
                     "tcp",
                     "set",
                     "supplemental",
                     "template=" + Lower(row.id.instance),
                     "congestionprovider=" + *word};
}

// The settings netsh sets globally on Vista and 7.
std::optional<Arguments> OldGlobal(S setting, uint32_t value) {
    std::optional<std::string> word;
    const char* name = nullptr;
    switch (setting) {
        case S::AutoTuningLocal:
            name = "autotuninglevel=";
            word = Word(kLevelWords, value);
            break;
        case S::Ecn:
            name = "ecncapability=";
            word = Word(kSwitchWords, value);
            break;
        case S::Timestamps:
            name = "timestamps=";
            word = Word(kSwitchWords, value);
            break;
        default:
            break;
    }
    return word ? std::optional<Arguments>(Global(name + *word)) : std::nullopt;
}

}  // namespace

std::optional<Arguments> NetshArguments(const StackRow& row, uint32_t value,
                                        const StackMachine& machine) {
    switch (row.id.setting) {
        case S::Ipv4Mtu:
        case S::Ipv6Mtu:
            return Mtu(row, value);
        case S::CongestionProvider:
            return Provider(row, value, machine);
        default:
            break;
    }
    if (machine.Reach() != StackReach::Netsh) {
        return std::nullopt;
    }
    return OldGlobal(row.id.setting, value);
}

std::optional<Arguments> NetshDefaultArguments(StackSetting setting) {
    switch (setting) {
        case S::AutoTuningLocal:
            return Global("autotuninglevel=normal");
        case S::CongestionProvider:
            return Global("congestionprovider=default");
        case S::Ecn:
            return Global("ecncapability=default");
        case S::Timestamps:
            return Global("timestamps=default");
        default:
            break;
    }
    return std::nullopt;
}

std::string NetshCommandLine(const Arguments& arguments) {
    std::string line = "netsh";
    for (const std::string& argument : arguments) {
        line += ' ';
        line += argument;
    }
    return line;
}

}  // namespace zv::netstack
