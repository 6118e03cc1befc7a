// A number (REG_DWORD) of the current user's registry hive, read and written with the
// plain calls: for the few options and Windows settings the windows read as they open.
#pragma once

#include <windows.h>

#include <optional>

namespace zv::win32 {

// Nothing when the key or the value is missing, or the value is not a REG_DWORD.
std::optional<DWORD> ReadUserNumber(const char* key, const char* name);

// The key is made where missing; a failure is left unsaid, as for any option not kept.
void WriteUserNumber(const char* key, const char* name, DWORD value);

}  // namespace zv::win32
