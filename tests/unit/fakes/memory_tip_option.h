// The per-user "show tips at start-up" option in memory: nothing stored until written.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "main_window/tip_option.h"

namespace zv::testing {

class MemoryTipOption : public main_window::TipOptionPort {
  public:
    MemoryTipOption() = default;
    explicit MemoryTipOption(std::string text) : stored(std::move(text)) {}

    std::optional<std::string> stored;
    int writes = 0;
    std::optional<std::string> Read() override { return stored; }
    void Write(const std::string& text) override {
        stored = text;
        ++writes;
    }
};

}  // namespace zv::testing
