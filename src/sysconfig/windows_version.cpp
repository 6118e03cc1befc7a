#include "sysconfig/windows_version.h"

namespace zv {
namespace {

constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatform9x = 1;
constexpr uint32_t kPlatformNT = 2;

// A release under the name its row gives it.
WindowsVersion Release(WindowsRelease release) {
    return {release, PropertiesOf(release).name, {}};
}

WindowsVersion Win9xRelease(uint32_t major, uint32_t minor) {
    if (major != 4) {
        return {};
    }
    switch (minor) {
        case 0:
            return Release(WindowsRelease::Windows95);
        case 10:
            return Release(WindowsRelease::Windows98);
        case 90:
            return Release(WindowsRelease::WindowsMe);
        default:
            return {};
    }
}

std::string ServerName(uint32_t major, uint32_t minor, uint32_t build) {
    if (major == 6) {
        const char* names[] = {"Windows Server 2008", "Windows Server 2008 R2",
                               "Windows Server 2012", "Windows Server 2012 R2"};
        return minor <= 3 ? names[minor] : "Windows Server";
    }
    if (build >= 26100) {
        return "Windows Server 2025";
    }
    if (build >= 20348) {
        return "Windows Server 2022";
    }
    return build >= 17763 ? "Windows Server 2019" : "Windows Server 2016";
}

std::string WorkstationName(uint32_t major, uint32_t minor, uint32_t build) {
    if (major == 6) {
        const char* names[] = {"Windows Vista", "Windows 7", "Windows 8", "Windows 8.1"};
        return minor <= 3 ? names[minor] : "Windows";
    }
    return build >= 22000 ? "Windows 11" : "Windows 10";
}

// A release newer than 5.2, named from the true version when Windows gave one.
WindowsVersion LaterNtRelease(const VersionInfo& info, const TrueVersion& true_version) {
    uint32_t major = true_version.ok ? true_version.major : info.major;
    uint32_t minor = true_version.ok ? true_version.minor : info.minor;
    uint32_t build = true_version.ok ? true_version.build : 0;
    WindowsRelease release = major >= 6 ? WindowsRelease::Vista : WindowsRelease::Windows2003;
    if (major < 6 || major > 10) {
        return {release, "Windows", {}};
    }
    bool server = true_version.ok && true_version.server;
    return {release,
            server ? ServerName(major, minor, build) : WorkstationName(major, minor, build),
            {}};
}

// 5.2 is Windows 2003, or Windows XP x64 when Windows says it is a workstation; both are
// the release 5.2, so the registry layout and presets do not depend on the name.
WindowsVersion Release52(const TrueVersion& true_version) {
    bool workstation = true_version.ok && !true_version.server;
    WindowsRelease named_as = workstation ? WindowsRelease::WindowsXp : WindowsRelease::Windows2003;
    return {WindowsRelease::Windows2003, PropertiesOf(named_as).name, {}};
}

WindowsVersion NtRelease(const VersionInfo& info, const TrueVersion& true_version) {
    if (info.major == 3 || info.major == 4) {
        return Release(WindowsRelease::WindowsNt4);
    }
    if (info.major == 5 && info.minor == 0) {
        return Release(WindowsRelease::Windows2000);
    }
    if (info.major == 5 && info.minor == 1) {
        return Release(WindowsRelease::WindowsXp);
    }
    if (info.major == 5 && info.minor == 2) {
        return Release52(true_version);
    }
    if (info.major >= 5) {
        return LaterNtRelease(info, true_version);
    }
    return {};
}

}  // namespace

WindowsVersion MapWindowsVersion(const VersionInfo& info, const TrueVersion& true_version) {
    if (!info.ok) {
        return {};
    }
    switch (info.platform_id) {
        case kPlatformWin32s:
            return Release(WindowsRelease::Win32s);
        case kPlatform9x:
            return Win9xRelease(info.major, info.minor);
        case kPlatformNT: {
            WindowsVersion version = NtRelease(info, true_version);
            version.detail = true_version.ok
                                 ? ReleaseDetail{true_version.major, true_version.minor,
                                                 true_version.build, true_version.server}
                                 : ReleaseDetail{info.major, info.minor, 0, false};
            return version;
        }
        default:
            return {};
    }
}

}  // namespace zv
