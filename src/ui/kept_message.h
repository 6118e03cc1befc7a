// A message box that shows nothing: it keeps the text it was asked to show, so a caller that
// runs the echo engine quietly can report the problem in its own words.
#pragma once

#include <string>

#include "ui/ports.h"

namespace zv::ui {

class KeptMessage : public MessageBoxPort {
  public:
    MessageAnswer Show(const Message& message) override {
        text = message.text;
        return MessageAnswer::Ok;
    }
    std::string text;
};

}  // namespace zv::ui
