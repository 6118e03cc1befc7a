// What the Network Stack window and "Use for This Adapter" reach the modern stack through:
// ports made afresh on each worker thread (WMI wants COM per thread), and the machine the
// checks depend on.
#pragma once

#include <windows.h>

#include "main_window/program_records.h"
#include "main_window/stack_source.h"
#include "netstack/stack_machine.h"
#include "win32/zorvane/zorvane_services.h"

namespace zv::win32 {

main_window::StackSourcePorts WorkerStackPorts(ZorvaneServices& services);
netstack::StackMachine MachineOf(const main_window::ProgramRecords& records);

}  // namespace zv::win32
