// The Windows folders the programs start system programs and load system DLLs from, and
// how they look to a 32-bit program on 64-bit Windows (WOW64).
#pragma once

#include <string>

namespace zv::win32 {

// The system folder (GetSystemDirectoryA), without a trailing backslash; "" if unknown.
// Under WOW64 this is "...\system32", which the file-system redirector turns into
// SysWOW64 for a 32-bit program: the 32-bit DLLs it can load, and a 32-bit rundll32.exe
// with the 32-bit Control Panel applets Windows ships for 32-bit programs, each matching
// the other. Sysnative would reach the 64-bit rundll32, but XP x64 and Server 2003 lack it
// without a hotfix, and the 32-bit applets show the same settings.
std::string SystemFolder();

// The Windows folder (GetSystemWindowsDirectoryA: the shared one, also on a terminal
// server where GetWindowsDirectoryA names a private folder of the user), without a trailing
// backslash; "" if unknown. It is never redirected, so its regedit.exe is the 64-bit one
// on 64-bit Windows, also for a 32-bit program: it exports the registry as 64-bit Windows
// sees it, with the values Apply wrote in the 64-bit view (SysWOW64's regedit would export
// the 32-bit view).
std::string WindowsFolder();

}  // namespace zv::win32
