// Asks Windows which release it is and maps the answer to a release and name.
#pragma once

#include "sysconfig/windows_version.h"

namespace zv::win32 {

// GetVersionExA for the release, RtlGetVersion (ntdll) for naming releases after 5.2.
WindowsVersion DetectWindowsVersion();

}  // namespace zv::win32
