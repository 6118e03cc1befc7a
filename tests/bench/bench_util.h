// Helpers shared by the benchmark programs: timing, starting programs, finding windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zv::bench {

double NowMs();

// Starts the program with the given arguments; returns its process information.
PROCESS_INFORMATION Start(const std::string& path, const std::string& arguments);

// Milliseconds from the start of the call until a visible top-level window of the process
// exists, or -1 after the limit.
double WaitForVisibleWindow(DWORD process_id, double limit_ms);

// Ends the process and closes its handles.
void Stop(PROCESS_INFORMATION& process);

// The median of the values.
double Median(std::vector<double> values);

// The install folder of the programs under test (%ZV_APP_DIR%).
std::string AppDir();

}  // namespace zv::bench
