// The main program's program-wide records: the settings being edited, the Windows-default
// baseline, the Windows release found at start and the program's folder. One object per
// run, made at start and handed to every controller that needs it.
#pragma once

#include <cstdint>
#include <string>

#include "sysconfig/windows_version.h"
#include "tuning/tuning_settings.h"

namespace zv::main_window {

struct ProgramRecords {
    TuningSettings CurrentSettings;
    TuningSettings DefaultSettings = InitialDefaultSettings();
    zv::WindowsRelease WindowsRelease = zv::WindowsRelease::Unrecognised;
    std::string WindowsName;
    // The true version, and the processors the stack's checks count.
    zv::ReleaseDetail WindowsDetail;
    uint32_t Processors = 1;
    // The folder of the running program, without a trailing backslash.
    std::string ProgramDirectory;
};

}  // namespace zv::main_window
