// Recognition of the running Windows release: a family number that decides the registry
// layout, the preset group and the network applet, plus a display name. The Win32 layer
// asks Windows; this mapping is pure so that every release can be tested anywhere.
#pragma once

#include <cstdint>
#include <string>

#include "common/windows_family.h"

namespace zv {

// The release as far as its TCP/IP stack tells releases apart, oldest first: finer than
// the family, which puts Windows 2003 and Windows 11 together, while several values the
// program writes are read by one and ignored by the other. Vista stands for Windows Vista
// and every later release, whose new stack ignores the same values.
enum class WindowsRelease {
    Unrecognised,
    Win32s,
    Windows95,
    Windows98,
    WindowsMe,
    WindowsNt4,  // and NT 3.x
    Windows2000,
    WindowsXp,
    Windows2003,  // release 5.2, Windows XP x64 included
    Vista,
};

struct WindowsVersion {
    WindowsFamily family = Unrecognised;
    std::string name;
    WindowsRelease release = WindowsRelease::Unrecognised;
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

// Family 1-4: the Windows 9x registry layout; 5-8: the NT layout; every NT release from
// 5.2 on is family 8 (Windows XP x64 included, though it is named "Windows XP"). Anything
// not recognised is family 0 with an empty name.
WindowsVersion MapWindowsVersion(const VersionInfo& info, const TrueVersion& true_version);

}  // namespace zv
