#include "win32/platform/version_query.h"

#include <windows.h>

#include "win32/platform/system_library.h"

namespace zv::win32 {
namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(RTL_OSVERSIONINFOEXW*);

VersionInfo ReportedVersion() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    VersionInfo reported;
    reported.ok = GetVersionExA(&info) != 0;
    reported.platform_id = info.dwPlatformId;
    reported.major = info.dwMajorVersion;
    reported.minor = info.dwMinorVersion;
    return reported;
}

// RtlGetVersion is not subject to the compatibility shim that makes GetVersionExA report
// 6.2 on later releases. Windows 9x has no such function.
TrueVersion RealVersion() {
    auto rtl_get_version =
        LoadedSystemFunction<RtlGetVersionFunction>("ntdll.dll", "RtlGetVersion");
    if (rtl_get_version == nullptr) {
        return {};
    }
    RTL_OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (rtl_get_version(&info) != 0) {
        return {};
    }
    return {true, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
            info.wProductType != VER_NT_WORKSTATION};
}

}  // namespace

WindowsVersion DetectWindowsVersion() {
    return MapWindowsVersion(ReportedVersion(), RealVersion());
}

}  // namespace zv::win32
