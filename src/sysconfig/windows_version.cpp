#include "sysconfig/windows_version.h"

namespace zv {
namespace {

constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatform9x = 1;
constexpr uint32_t kPlatformNT = 2;

WindowsVersion Win9xRelease(uint32_t major, uint32_t minor) {
    if (major != 4) {
        return {};
    }
    switch (minor) {
        case 0:
            return {2, "Windows 95"};
        case 10:
            return {3, "Windows 98"};
        case 90:
            return {4, "Windows ME"};
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
    if (major < 6 || major > 10) {
        return {8, "Windows"};
    }
    bool server = true_version.ok && true_version.server;
    return {8, server ? ServerName(major, minor, build) : WorkstationName(major, minor, build)};
}

WindowsVersion NtRelease(const VersionInfo& info, const TrueVersion& true_version) {
    if (info.major == 3 || info.major == 4) {
        return {5, "Windows NT"};
    }
    if (info.major == 5 && info.minor <= 2) {
        const char* names[] = {"Windows 2000", "Windows XP", "Windows 2003"};
        return {static_cast<int16_t>(6 + info.minor), names[info.minor]};
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
            return {1, "Windows 32"};
        case kPlatform9x:
            return Win9xRelease(info.major, info.minor);
        case kPlatformNT:
            return NtRelease(info, true_version);
        default:
            return {};
    }
}

}  // namespace zv
