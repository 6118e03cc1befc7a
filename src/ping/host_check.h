// Whether a host text can be probed at all: a dotted IPv4 address of one computer
// elsewhere, or a host name as DNS carries it. Checked where a host is taken (a dialog's
// OK, the companion's Apply and its start-up), so that a host that can never answer, or
// always answers from this computer, is refused with its reason rather than watched for
// ever.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zv::ping {

// The longest name DNS carries, and the longest label of one.
inline constexpr std::size_t kMaxHostName = 253;
inline constexpr std::size_t kMaxHostLabel = 63;

// Why the host cannot be probed, said as the end of "... cannot be probed: " ("it is this
// computer, which always answers"); empty when it can. A name is labels of letters,
// digits and hyphens (not at either end), the last one not a number; a text of numbers
// and dots alone must be a unicast address that is not this computer. Text beyond ASCII
// is refused: an international name must first be turned into its ASCII ("xn--") form.
std::string HostProblem(std::string_view host);

// Whether every character is plain ASCII (a name in its ASCII form, say).
bool IsAsciiText(std::string_view text);

}  // namespace zv::ping
