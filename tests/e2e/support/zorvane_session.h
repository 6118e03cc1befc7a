// Driving the real Zorvane.exe from outside: start it (answering the tip of the day), find
// its main window and controls by ID, click, type, pick list items, and answer its
// message boxes, checking each text on the way.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "support/control_driver.h"
#include "support/process.h"
#include "support/wait.h"

namespace zv::e2e {

class ZorvaneSession : public ControlDriver {
  public:
    // Starts Zorvane.exe with the arguments and waits for its main window, closing the
    // tip of the day when it comes first.
    explicit ZorvaneSession(const std::string& arguments = "");

    bool ok() const { return window_ != nullptr; }
    HWND main() const { return window_; }
    ChildProcess& process() { return *process_; }

    // Waits for a message box, checks its caption and text, and answers it.
    bool Answer(const std::string& text, int button, const std::string& caption = "Zorvane",
                DWORD wait_ms = kDefaultTimeoutMs);
    // Answers the boxes that end a change of the settings: OK to what was done (`done_text`),
    // No to restarting now, OK to the reminder to restart later.
    void AnswerChangeMadeRestartLater(const std::string& done_text);
    // True when no message box comes up within the time.
    bool NoMessageBox(DWORD wait_ms = 800);

    // Closes the main window and waits for the process to end.
    bool Close();

  private:
    std::unique_ptr<ChildProcess> process_;
    HWND last_box_ = nullptr;
};

// Runs the steps on a Zorvane started with the arguments; false, after a failed check, when
// its window did not come up.
bool InSession(const std::function<void(ZorvaneSession&)>& steps,
               const std::string& arguments = "");

// Answers the restart question with Yes and checks that Windows was asked to restart:
// Windows asks a window of this driver whether the session may end, and the driver says no.
void CheckRestartRequested(ZorvaneSession& zorvane);

}  // namespace zv::e2e
