// Start of the main program: one running copy of what may write (the window, and the
// switches that change the system), the Windows release, and the start-up argument that
// makes the program only a launcher for the companion.
#pragma once

#include <string>

#include "main_window/program_records.h"
#include "sysconfig/windows_version.h"

namespace zv::main_window {

class StartPorts {
  public:
    virtual ~StartPorts() = default;
    // Takes the lock of the copy that may write, for as long as the program runs: false
    // when another copy holds it already.
    virtual bool IsFirstCopy() = 0;
    // Whether another copy holds that lock, asked without taking it: what only reads or
    // only starts the companion must never keep a writer out.
    virtual bool WriterRuns() = 0;
    virtual WindowsVersion DetectWindowsVersion() = 0;
    // Starts the companion hidden and returns at once.
    virtual void StartCompanion() = 0;
};

enum class StartOutcome {
    EndSilently,           // another copy runs (or, for the companion's start, a writer)
    CompanionOnly,         // the companion was started; the program ends
    ShowMainWindow,        // no argument, or one that is not a number
    ShowMainWindowNormal,  // the argument 0: the window is also set to normal state
};

// A number other than 0 (an optional sign, then digits not all 0, blanks around allowed).
bool AsksOnlyForCompanion(const std::string& argument);

// Asks for the Windows release and fills it into the records.
void DetectWindowsRelease(StartPorts& ports, ProgramRecords& records);

// Fills the Windows release into the records and says how the program goes on.
StartOutcome StartProgram(StartPorts& ports, const std::string& argument, ProgramRecords& records);

}  // namespace zv::main_window
