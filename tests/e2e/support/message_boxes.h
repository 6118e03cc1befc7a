// Reading and answering the message boxes of a program under test: top-level dialogs of
// class #32770 whose text is in the static control 0xFFFF and whose buttons carry IDOK,
// IDYES, IDNO... as their control IDs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "support/wait.h"

namespace zv::e2e {

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;          // line breaks as the program wrote them (CR LF)
    std::vector<int> buttons;  // control IDs, in Z order
};

// The visible message boxes of a process (0: of any process).
std::vector<MessageBoxSeen> FindMessageBoxes(DWORD process_id);

// The first message box of the process that is not `already_seen`, or nothing in time.
std::optional<MessageBoxSeen> WaitForMessageBox(DWORD process_id,
                                                DWORD timeout_ms = kDefaultTimeoutMs,
                                                HWND already_seen = nullptr);

// Presses a button by posting its command (the program may open its next box before the
// press returns), then waits for the box to go. True when it went in time.
bool AnswerMessageBox(const MessageBoxSeen& box, int button_id,
                      DWORD timeout_ms = kDefaultTimeoutMs);

// Answers the boxes that come one after another, No where a box has it, else Cancel, else
// OK, so that nothing restarts or is written by a question the scenario did not mean to
// ask; notes a box still up after five.
void DismissMessageBoxes(DWORD process_id);

}  // namespace zv::e2e
