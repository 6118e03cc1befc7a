#include "sysconfig/registry_view.h"

namespace zv {
namespace {

// Query value, set value, create subkey, enumerate subkeys, notify, create link.
constexpr uint32_t kWriteAccess = 0x3F;
constexpr uint32_t kMaximumAllowed = 0x02000000;
constexpr uint32_t kWow64View64 = 0x0100;  // KEY_WOW64_64KEY

}  // namespace

RegistryAccess RegistryAccessFor(bool running_under_wow64) {
    uint32_t view = running_under_wow64 ? kWow64View64 : 0;
    return {kWriteAccess | view, kMaximumAllowed | view};
}

}  // namespace zv
