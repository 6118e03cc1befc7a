// Wine's own settings for one program, for scenarios that need Windows as it is without a
// desktop shell: an empty DLL override keeps the program from loading that DLL. (Wine
// reads WINEDLLOVERRIDES once per session, not per started program.)
#pragma once

#include <string>

namespace zv::e2e {

bool KeepFromLoading(const std::string& program, const char* dll);
// Makes every program load the module ("netsh.exe") from its file rather than Wine's own,
// for a stand-in put in the system folder.
bool PreferNative(const char* module);
// Makes every program look for the DLL ("winmm") as Windows does, and load a file it finds
// before Wine's own build.
bool PreferNativeThenBuiltin(const std::string& dll);
// Removes every Wine setting of the program again.
void ForgetWineSettings(const std::string& program);

}  // namespace zv::e2e
