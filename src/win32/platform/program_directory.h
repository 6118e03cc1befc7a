// The folder of the running program, where every file of the system lives.
#pragma once

#include <string>

namespace zv::win32 {

// The folder of the running executable, without a trailing backslash.
std::string ProgramDirectory();

}  // namespace zv::win32
