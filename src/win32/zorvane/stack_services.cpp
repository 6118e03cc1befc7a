#include "win32/zorvane/stack_services.h"

#include "win32/netstack/win32_stack_ports.h"

namespace zv::win32 {

main_window::StackSourcePorts WorkerStackPorts(ZorvaneServices& services) {
    return {[&registry = services.registry](const std::function<void(netstack::StackPorts&)>& use) {
                Win32StackPorts owned(registry);
                use(owned.ports());
            },
            services.files, services.folders};
}

netstack::StackMachine MachineOf(const main_window::ProgramRecords& records) {
    netstack::StackMachine machine;
    machine.release = records.WindowsRelease;
    machine.detail = records.WindowsDetail;
    machine.processors = records.Processors;
    return machine;
}

}  // namespace zv::win32
