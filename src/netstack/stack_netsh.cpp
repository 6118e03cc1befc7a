#include "netstack/stack_netsh.h"

#include <algorithm>
#include <cctype>

#include "netstack/stack_entries.h"

namespace zv::netstack {
namespace {

using S = StackSetting;
using Arguments = std::vector<std::string>;

std::optional<std::string> Word(const WordList& words, uint32_t value) {
    return value < words.count ? std::optional<std::string>(words.first[value]) : std::nullopt;
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

// A setting of each template: "int tcp set supplemental template=internet NAME=WORD".
std::optional<Arguments> OfTemplate(const StackRow& row, uint32_t value) {
    const NetshWords& netsh = EntryOf(row.id.setting).netsh;
    auto word = Word(netsh.template_words, value);
    if (!word) {
        return std::nullopt;
    }
    return Arguments{"int",
                     "tcp",
                     "set",
                     "supplemental",
                     "template=" + Lower(row.id.instance),
                     std::string(netsh.name) + "=" + *word};
}

// What netsh sets globally on Vista and 7.
std::optional<Arguments> OldGlobal(S setting, uint32_t value) {
    const NetshWords& netsh = EntryOf(setting).netsh;
    auto word = Word(netsh.global_words, value);
    return word ? std::optional<Arguments>(Global(std::string(netsh.name) + "=" + *word))
                : std::nullopt;
}

}  // namespace

std::optional<Arguments> NetshArguments(const StackRow& row, uint32_t value,
                                        const StackMachine& machine) {
    if (IsMtu(row.id.setting)) {
        return Mtu(row, value);
    }
    if (machine.Reach() == StackReach::Netsh) {
        return OldGlobal(row.id.setting, value);
    }
    return EntryOf(row.id.setting).netsh.template_words.count != 0 ? OfTemplate(row, value)
                                                                   : std::nullopt;
}

std::optional<Arguments> NetshDefaultArguments(StackSetting setting) {
    const NetshWords& netsh = EntryOf(setting).netsh;
    if (netsh.name == nullptr || netsh.to_default == nullptr) {
        return std::nullopt;
    }
    return Global(std::string(netsh.name) + "=" + netsh.to_default);
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
