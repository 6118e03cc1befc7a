// Whether this program is a 32-bit one running on 64-bit Windows.
#pragma once

namespace zv::win32 {

// IsWow64Process, looked up at run time: XP before SP2 and 2000 lack it, and run no 32-bit
// program on 64-bit Windows. Always false for a 64-bit program.
bool RunningUnderWow64();

}  // namespace zv::win32
