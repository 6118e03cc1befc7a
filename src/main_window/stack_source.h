// The Network Stack window's work over the netstack core, run on its worker thread: the
// rows read piece by piece and shown as texts, the findings checked, and the changes the
// user asked for (fixes and picked values) made with a snapshot first. Find Largest MTU's
// "Use for This Adapter" goes the same way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "main_window/network_stack_source.h"
#include "netstack/stack_checks.h"
#include "common/folder_port.h"

namespace zv::main_window {

// Runs the function with ports made on the calling thread (WMI wants COM per thread), and
// returns once it has run.
using WithStackPorts = std::function<void(const std::function<void(netstack::StackPorts&)>&)>;

struct StackSourcePorts {
    WithStackPorts with_ports;
    FileSystem& files;
    FolderPort& folders;
};

class StackSource : public NetworkStackSource {
  public:
    StackSource(const StackSourcePorts& ports, const netstack::StackMachine& machine,
                std::string program_directory);

    StackReading Read(const std::function<void(std::vector<StackRowText>)>& rows) override;
    std::vector<std::string> Change(const StackChangeRequest& request) override;

  private:
    StackSourcePorts ports_;
    netstack::StackMachine machine_;
    std::string program_directory_;
    // What was last read: the window's indexes point into them.
    std::vector<netstack::StackRow> rows_;
    std::vector<netstack::Finding> findings_;
};

// The row as the window shows it, with the values netstack::Offers gives it.
StackRowText RowText(const netstack::StackRow& row);

// "Use for This Adapter": the outcome's line.
std::string UseMtuForAdapter(const StackSourcePorts& ports, const netstack::StackMachine& machine,
                             const std::string& program_directory, uint32_t address, int mtu);

}  // namespace zv::main_window
