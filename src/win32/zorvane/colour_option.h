// Zorvane's "Use System Colours" choice, a DWORD beside the tip option under
// HKEY_CURRENT_USER\Software\Zorvane\Options; missing or unreadable reads as not chosen.
#pragma once

#include "ui/palette.h"

namespace zv::win32 {

bool ReadSystemColoursOption();
void WriteSystemColoursOption(bool chosen);

// The scheme Zorvane paints in now: the stored choice and what Windows says.
ui::Scheme ZorvaneScheme();

}  // namespace zv::win32
