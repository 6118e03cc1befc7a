#include "win32/platform/version_query.h"

#include <windows.h>

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
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    FARPROC address = ntdll ? GetProcAddress(ntdll, "RtlGetVersion") : nullptr;
    if (address == nullptr) {
        return {};
    }
    auto rtl_get_version =
        reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(address));
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
