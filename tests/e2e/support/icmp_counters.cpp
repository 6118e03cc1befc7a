#include "support/icmp_counters.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/sandbox_control.h"

namespace zv::e2e {
namespace {

// Counter name ("InEchos", "OutEchoReps", ...) to value.
using IcmpCounters = std::map<std::string, long long>;

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

// The "Icmp:" lines of /proc/net/snmp (a line of names, then a line of values) as counters;
// nothing when they do not pair up.
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

// The sandbox answers the request with those lines.
std::optional<IcmpCounters> ReadIcmpCounters() {
    std::optional<std::string> lines = AnswerFromSandbox("icmp-stats");
    return lines ? ParseIcmpCounters(*lines) : std::nullopt;
}

}  // namespace

std::optional<long long> EchoRequestsReceived() {
    std::optional<IcmpCounters> counters = ReadIcmpCounters();
    if (!counters || counters->count("InEchos") == 0) {
        return std::nullopt;
    }
    return counters->at("InEchos");
}

}  // namespace zv::e2e
