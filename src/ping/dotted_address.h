// Host texts as the echo engine reads them: telling dotted addresses from names, turning a
// dotted address into the 32-bit value the echo service takes, and writing resolved
// addresses back as text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv::ping {

// A host that contains a "." and a part between dots that is not a number is a name to
// resolve ("163.com", "www.example.org"); one of numbers and dots alone is a dotted
// address ("10.0.0.1"; "1.2.3" is a malformed one, never looked up as a name).
bool IsDottedName(std::string_view host);

// Exactly four plain decimal parts from 0 to 255, else nothing: a malformed address must
// never reach the network as some other address.
std::optional<uint32_t> ParseDottedAddress(std::string_view text);

// Each byte in decimal, joined by "." ("192.168.0.1").
std::string AddressBytesToText(const std::vector<uint8_t>& bytes);

}  // namespace zv::ping
