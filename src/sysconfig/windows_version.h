// Recognition of the running Windows release and its display name. The Win32 layer asks
// Windows; this mapping is pure so that every release can be tested anywhere.
#pragma once

#include <cstdint>
#include <string>

#include "common/windows_release.h"

namespace zv {

// The true version under the release, which the modern TCP/IP stack's checks need: the
// build tells Windows 10 1709 and 11 24H2 apart; zero where Windows did not tell.
struct ReleaseDetail {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    bool server = false;
};

struct WindowsVersion {
    WindowsRelease release = WindowsRelease::Unrecognised;
    std::string name;
    ReleaseDetail detail = {};
};

// What GetVersionExA reported (OSVERSIONINFO's platform id and version).
struct VersionInfo {
    bool ok = false;
    uint32_t platform_id = 0;  // 0 Win32s, 1 Windows 9x, 2 NT
    uint32_t major = 0;
    uint32_t minor = 0;
};

// What RtlGetVersion reported. GetVersionExA stops telling the truth after Windows 8 for
// programs without a compatibility manifest, so the release after 5.2 is named from this;
// and 5.2 itself is both Windows 2003 and Windows XP x64, told apart by the product type.
struct TrueVersion {
    bool ok = false;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    bool server = false;  // product type other than workstation
};

// Every NT release from 5.2 on is Windows 2003 or Vista as far as its stack goes (Windows XP
// x64 is Windows 2003, though it is named "Windows XP"). Anything not recognised is
// Unrecognised with an empty name.
WindowsVersion MapWindowsVersion(const VersionInfo& info, const TrueVersion& true_version);

}  // namespace zv
