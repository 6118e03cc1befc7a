#include "support/icmp_counters.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include "support/files.h"
#include "support/wait.h"

namespace zv::e2e {
namespace {

// The words of a line after its "Icmp:" label.
std::vector<std::string> Fields(const std::string& line) {
    std::istringstream words(line);
    std::vector<std::string> fields;
    std::string word;
    words >> word;
    while (words >> word) {
        fields.push_back(word);
    }
    return fields;
}

}  // namespace

std::optional<IcmpCounters> ParseIcmpCounters(const std::string& lines) {
    std::istringstream input(lines);
    std::string names_line;
    std::string values_line;
    if (!std::getline(input, names_line) || !std::getline(input, values_line)) {
        return std::nullopt;
    }
    std::vector<std::string> names = Fields(names_line);
    std::vector<std::string> values = Fields(values_line);
    if (names.empty() || names.size() != values.size()) {
        return std::nullopt;
    }
    IcmpCounters counters;
    for (size_t i = 0; i < names.size(); ++i) {
        counters[names[i]] = std::strtoll(values[i].c_str(), nullptr, 10);
    }
    return counters;
}

std::optional<IcmpCounters> ReadIcmpCounters() {
    std::string control = EnvironmentVariable("ZV_CTL_DIR");
    if (control.empty()) {
        return std::nullopt;
    }
    std::string base = control + "\\icmp-stats";
    RemoveFile(base + ".done");
    if (!WriteWholeFile(base + ".req", "") ||
        !WaitUntil([&] { return FileIsPresent(base + ".done"); })) {
        return std::nullopt;
    }
    std::optional<std::string> lines = ReadWholeFile(base + ".done");
    return lines ? ParseIcmpCounters(*lines) : std::nullopt;
}

std::optional<long long> EchoRequestsReceived() {
    std::optional<IcmpCounters> counters = ReadIcmpCounters();
    if (!counters || counters->count("InEchos") == 0) {
        return std::nullopt;
    }
    return counters->at("InEchos");
}

}  // namespace zv::e2e
