// The access rights the registry port opens and creates keys with, and the registry view
// they name. A 32-bit program on 64-bit Windows (WOW64) sees by default a 32-bit view, in
// which HKEY_LOCAL_MACHINE\Software is redirected to Software\Wow6432Node: what it wrote
// there would never reach 64-bit Windows' Internet settings. Such a program names the
// 64-bit view on every key it opens or creates, so that what Apply writes is what Windows
// reads. Any other program names no view: a 64-bit program sees the 64-bit view anyway,
// 32-bit Windows has only one, and Windows 2000 refuses the flag.
#pragma once

#include <cstdint>

namespace zv {

struct RegistryAccess {
    uint32_t create;  // for RegCreateKeyExA: enough to write (0x3F), no standard rights
    uint32_t open;    // for RegOpenKeyExA: what RegOpenKeyA asks for (MAXIMUM_ALLOWED)
};

RegistryAccess RegistryAccessFor(bool running_under_wow64);

}  // namespace zv
