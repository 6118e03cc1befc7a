// Output of a program without a window: its standard output when it was given one (a
// redirection or a pipe), else the console of the program that started it, if any.
#pragma once

#include <string>

namespace zv::win32 {

// Writes the text and a line end; nothing happens when there is nowhere to write.
void WriteToConsole(const std::string& text);

}  // namespace zv::win32
