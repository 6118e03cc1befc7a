#include "ping/host_check.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "common/numbers.h"
#include "ping/dotted_address.h"

namespace zv::ping {
namespace {

std::vector<std::string_view> Labels(std::string_view host) {
    std::vector<std::string_view> labels;
    while (true) {
        std::size_t dot = host.find('.');
        labels.push_back(host.substr(0, dot));
        if (dot == std::string_view::npos) {
            return labels;
        }
        host.remove_prefix(dot + 1);
    }
}

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// The first octet decides: 0 names no computer, 127 is this one, 224 and up are groups,
// reserved, or everyone on the link.
std::string AddressProblem(std::string_view host) {
    std::optional<uint32_t> address = ParseDottedAddress(host);
    if (!address) {
        return "it is not an IPv4 address of four numbers from 0 to 255";
    }
    uint32_t first = *address & 0xFF;
    if (first == 0) {
        return "an address beginning with 0 names no computer";
    }
    if (first == 127) {
        return "it is this computer, which always answers";
    }
    if (first >= 224 && first < 240) {
        return "it is a multicast address";
    }
    return first >= 240 ? "it is a broadcast or reserved address" : "";
}

std::string LabelProblem(std::string_view label) {
    if (label.empty()) {
        return "it has an empty part between dots";
    }
    if (label.size() > kMaxHostLabel) {
        return "a part between dots is longer than 63 characters";
    }
    for (char c : label) {
        if (!IsNameCharacter(c)) {
            return "it holds characters other than letters, digits, hyphens and dots";
        }
    }
    if (label.front() == '-' || label.back() == '-') {
        return "a part between dots begins or ends with a hyphen";
    }
    return "";
}

bool IsLocalName(std::string_view host) {
    std::string lower;
    for (char c : host) {
        lower += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    constexpr std::string_view kLocal = "localhost";
    return lower == kLocal ||
           (lower.size() > kLocal.size() &&
            lower.compare(lower.size() - kLocal.size() - 1, std::string::npos, ".localhost") == 0);
}

}  // namespace

bool IsAsciiText(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string HostProblem(std::string_view host) {
    if (host.empty()) {
        return "no host is given";
    }
    if (host.find(':') != std::string_view::npos) {
        return "probes go over IPv4 today, so give a name or an IPv4 address";
    }
    if (!IsAsciiText(host)) {
        return "it holds characters that must first be turned into a host name";
    }
    std::vector<std::string_view> labels = Labels(host);
    bool all_numbers = true;
    for (std::string_view label : labels) {
        all_numbers = all_numbers && IsAllDigits(label);
    }
    if (all_numbers) {
        return AddressProblem(host);
    }
    if (host.size() > kMaxHostName) {
        return "it is longer than 253 characters";
    }
    for (std::string_view label : labels) {
        if (std::string problem = LabelProblem(label); !problem.empty()) {
            return problem;
        }
    }
    if (IsAllDigits(labels.back())) {
        return "its last part is a number, which no name ends with";
    }
    return IsLocalName(host) ? "it is this computer, which always answers" : "";
}

}  // namespace zv::ping
