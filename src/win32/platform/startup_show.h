// The show instruction a program is started with (STARTUPINFO's wShowWindow) applies to
// the first window it shows. A program whose own window stays hidden would otherwise pass
// a hidden start on to the first dialog it opens later, which then never appears.
#pragma once

#include <windows.h>

namespace zv::win32 {

// Uses up a hiding or minimising start-up instruction on `hidden_window`, which stays
// hidden. A showing instruction is left for the first window shown, as it asks for what
// that window does anyway.
void ConsumeStartupShowInstruction(HWND hidden_window);

}  // namespace zv::win32
