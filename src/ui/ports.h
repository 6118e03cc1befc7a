// The small services a window controller asks of the windowing system: message boxes,
// letting pending window messages run, the system beep, and what a window that saves a file
// does for its controller. The Win32 layer implements
// them once; tests implement them in memory.
#pragma once

#include <string>

namespace zv::ui {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    std::string text;  // line breaks are CR LF
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Information;
    int default_button = 1;  // 1 = first button, 2 = second
};

// An application-modal message box; returns the button the user pressed.
class MessageBoxPort {
  public:
    virtual ~MessageBoxPort() = default;
    virtual MessageAnswer Show(const Message& message) = 0;
};

// "Let pending window messages run": processes the queued messages in place.
class EventPump {
  public:
    virtual ~EventPump() = default;
    virtual void DoEvents() = 0;
};

class Beeper {
  public:
    virtual ~Beeper() = default;
    virtual void Beep() = 0;
};

// A window that offers to save what it shows and that its controller may close.
class SavingWindowPort {
  public:
    virtual ~SavingWindowPort() = default;
    // The path the user chose in a save dialog, or empty text when cancelled.
    virtual std::string ChooseSaveFile(const std::string& suggested_name) = 0;
    virtual void Close() = 0;
};

}  // namespace zv::ui
