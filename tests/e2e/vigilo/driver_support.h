// What the companion's drivers share: checks that print what they saw, requests to the
// sandbox (echo on/off, screenshots), starting and measuring programs, finding windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zv::e2e {

class Checks {
  public:
    // Prints the check with the value it saw; returns ok.
    bool Expect(bool ok, const std::string& what, const std::string& actual);
    int failed() const { return failed_; }
    // Prints the totals; the exit code of the driver.
    int Finish() const;

  private:
    int passed_ = 0;
    int failed_ = 0;
};

double NowMs();
std::string AppDir();

// Asks the sandbox for something ("echo-off", "echo-on", "shot-<name>") and waits until it
// is done; false after the limit.
bool SandboxRequest(const std::string& name, DWORD limit_ms = 10000);

// Starts a program; a null process handle when it could not be started.
PROCESS_INFORMATION StartProgram(const std::string& path, const std::string& arguments = "");
void EndProgram(PROCESS_INFORMATION& process);
// True when the process ends within the limit.
bool WaitForExit(const PROCESS_INFORMATION& process, DWORD limit_ms);

// Top-level windows of any process, or of one process (process_id != 0), whose class and
// caption match (an empty pattern matches all).
std::vector<HWND> FindTopWindows(DWORD process_id, const std::string& window_class,
                                 const std::string& caption);
// Waits for the first such window; null after the limit.
HWND WaitForTopWindow(DWORD process_id, const std::string& window_class, const std::string& caption,
                      DWORD limit_ms);

std::string ClassOf(HWND hwnd);
std::string TextOf(HWND hwnd);  // read with the W call, as across processes under Wine
DWORD ProcessOf(HWND hwnd);

// Process IDs of every running process whose file name matches (case-insensitive).
std::vector<DWORD> ProcessesNamed(const std::string& exe_name);

// Handle count, GDI and USER objects and private bytes of a process.
struct ResourceUse {
    DWORD handles = 0;
    DWORD gdi_objects = 0;
    DWORD user_objects = 0;
    double private_kib = 0;
};
ResourceUse MeasureProcess(HANDLE process);
std::string Describe(const ResourceUse& use);

}  // namespace zv::e2e
