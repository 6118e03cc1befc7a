#include "support/message_boxes.h"

#include <algorithm>

#include "support/check.h"
#include "support/windows_on_screen.h"

namespace zv::e2e {
namespace {

constexpr int kMessageTextId = 0xFFFF;

MessageBoxSeen Read(HWND window) {
    MessageBoxSeen box;
    box.window = window;
    box.caption = WindowText(window);
    HWND text = FindControl(window, kMessageTextId);
    box.text = text != nullptr ? WindowText(text) : std::string();
    for (HWND child : ChildControls(window)) {
        if (WindowClass(child) == "Button") {
            box.buttons.push_back(GetDlgCtrlID(child));
        }
    }
    return box;
}

}  // namespace

std::vector<MessageBoxSeen> FindMessageBoxes(DWORD process_id) {
    std::vector<MessageBoxSeen> boxes;
    WindowQuery query;
    query.process_id = process_id;
    query.class_name = "#32770";
    for (HWND window : FindTopLevelWindows(query)) {
        boxes.push_back(Read(window));
    }
    return boxes;
}

std::optional<MessageBoxSeen> WaitForMessageBox(DWORD process_id, DWORD timeout_ms,
                                                HWND already_seen) {
    std::optional<MessageBoxSeen> found;
    WaitUntil(
        [&] {
            for (auto& box : FindMessageBoxes(process_id)) {
                if (box.window != already_seen) {
                    found = box;
                    return true;
                }
            }
            return false;
        },
        timeout_ms);
    return found;
}

bool AnswerMessageBox(const MessageBoxSeen& box, int button_id, DWORD timeout_ms) {
    HWND button = FindControl(box.window, button_id);
    if (!PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button))) {
        return false;
    }
    return WaitForWindowGone(box.window, timeout_ms);
}

void DismissMessageBoxes(DWORD process_id) {
    HWND last = nullptr;
    for (int i = 0; i < 5; ++i) {
        auto box = WaitForMessageBox(process_id, 1500, last);
        if (!box) {
            return;
        }
        last = box->window;
        bool has_no = std::count(box->buttons.begin(), box->buttons.end(), IDNO) > 0;
        bool has_cancel = std::count(box->buttons.begin(), box->buttons.end(), IDCANCEL) > 0;
        AnswerMessageBox(*box, has_no ? IDNO : has_cancel ? IDCANCEL : IDOK);
    }
    Note("a message box stayed up");
}

}  // namespace zv::e2e
