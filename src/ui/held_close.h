// A window asked to close while a change it started still writes stays until the change has
// ended, as its outcome must be seen: the button that closes it is disabled and the status
// says why. When the change ends, its outcome is told and the window closes.
#pragma once

#include <string>

#include "ui/captioned.h"
#include "ui/ports.h"

namespace zv::ui {

class HeldClose {
  public:
    void Hold(Button& close, Label& status) {
        held_ = true;
        close.SetEnabled(false);
        status.SetCaption("Finishing the change: the window closes when it has ended.");
    }

    // When a close was held, tells the outcome of the change that has ended, under the
    // window's caption; true then, and the window is to close.
    bool ToldEnd(MessageBoxPort& messages, const std::string& caption,
                 const std::string& outcome) const {
        if (!held_) {
            return false;
        }
        Message message;
        message.text = "The change has ended.\r\n" + outcome;
        message.caption = caption;
        messages.Show(message);
        return true;
    }

  private:
    bool held_ = false;
};

}  // namespace zv::ui
