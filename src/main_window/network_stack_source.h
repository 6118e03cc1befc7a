// The slow work behind the Network Stack window, run on its worker thread: reading the
// modern stack's rows and findings, and changing them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "main_window/network_stack_view.h"

namespace zv::main_window {

struct StackReading {
    std::vector<StackFindingText> findings;
    // What the window says about this release as a whole, or nothing.
    std::string note;
};

class NetworkStackSource {
  public:
    virtual ~NetworkStackSource() = default;
    // Hands each piece of rows to `rows` as soon as it is read (the fast ones first).
    virtual StackReading Read(const std::function<void(std::vector<StackRowText>)>& rows) = 0;
    // One line per change made, refused or not available; a snapshot is recorded first.
    virtual std::vector<std::string> Change(const StackChangeRequest& request) = 0;
};

}  // namespace zv::main_window
