// Starting the programs under test and watching processes, with bounded waits.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <optional>
#include <string>
#include <vector>

#include "support/wait.h"

namespace zv::e2e {

// A process started by the driver. Ending the object ends the process if it still runs,
// so no program outlives the check that started it.
class ChildProcess {
  public:
    // Starts the command line (see AppCommand) with the given show command.
    explicit ChildProcess(const std::string& command_line, int show = SW_SHOWNORMAL);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }

    bool IsRunning() const;
    // Its exit code once it has ended, or nothing when it still runs after the timeout.
    std::optional<DWORD> WaitForExit(DWORD timeout_ms = kDefaultTimeoutMs);
    void Terminate();

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The quoted command line of a program in the installation folder (%ZV_APP_DIR%),
// followed by the arguments as given.
std::string AppCommand(const std::string& program, const std::string& arguments = "");

// A program of the installation folder run to its end with its standard output on a pipe, as
// a deployment tool starts it: its exit code (nothing when it did not end in time) and
// everything it wrote.
struct CapturedRun {
    std::optional<DWORD> exit_code;
    std::string output;
};
CapturedRun RunCapturingOutput(const std::string& program, const std::string& arguments,
                               DWORD timeout_ms = kDefaultTimeoutMs);
// The same for a whole command line, of a program anywhere.
CapturedRun RunCommandCapturingOutput(std::string command_line,
                                      DWORD timeout_ms = kDefaultTimeoutMs);

// Every running process, as the Toolhelp snapshot lists it.
std::vector<PROCESSENTRY32> RunningProcesses();

// The ids of the running processes whose file name is `image` (any case), e.g. "vigilo.exe".
std::vector<DWORD> ProcessesNamed(const std::string& image);

// Waits until a process of that name runs; true when one did in time.
bool WaitForProcessNamed(const std::string& image, DWORD timeout_ms = kDefaultTimeoutMs);

// Ends every process of that name (for clean-up between scenarios).
void TerminateProcessesNamed(const std::string& image);

}  // namespace zv::e2e
