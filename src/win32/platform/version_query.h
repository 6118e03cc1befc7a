// Asks Windows which release it is and maps the answer to a family and name.
#pragma once

#include "sysconfig/windows_version.h"

namespace zv::win32 {

// GetVersionExA for the family, RtlGetVersion (ntdll) for naming releases after 5.2.
WindowsVersion DetectWindowsVersion();

}  // namespace zv::win32
