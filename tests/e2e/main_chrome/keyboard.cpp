#include "keyboard.h"

#include <string>
#include <vector>

#include "support/check.h"
#include "support/key_presses.h"
#include "support/message_boxes.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "win32/ui/clipboard.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

namespace frm_main = win32::frm_main;

// One key down and up, with Ctrl held when asked, and a moment for the window to take it.
void PressAndWait(WORD key, bool ctrl = false) {
    e2e::PressKey(key, ctrl ? VK_CONTROL : 0);
    Sleep(100);
}

void TypeKeys(const std::string& keys) {
    for (char key : keys) {
        PressAndWait(static_cast<WORD>(VkKeyScanA(key) & 0xFF));
    }
}

// A real mouse click in the middle of the control, as a user gives a box the focus.
void ClickInto(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MouseClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

bool TextBecomes(HWND box, const std::string& expected) {
    bool reached = WaitUntil([&] { return WindowText(box) == expected; }, 2000);
    if (!reached) {
        Note("text " + Escape(WindowText(box)) + ", expected " + Escape(expected));
    }
    return reached;
}

// What a user does in one number box: type with a refused letter, then each shortcut.
// `typed` holds one letter; `text` is what the digits make; `pasted` is pasted last.
void EditWithKeys(HWND main, int custom_id, int box_id, const std::string& typed,
                  const std::string& text, const std::string& pasted) {
    HWND box = FindControl(main, box_id);
    PostClick(main, custom_id);
    E2E_CHECK(WaitUntil([&] { return IsWindowEnabled(box) != FALSE; }));
    ClickInto(box);
    E2E_CHECK(WaitUntil([&] { return FocusedControl(main) == box; }, 2000));

    TypeKeys(typed);
    E2E_CHECK(TextBecomes(box, text));
    PressAndWait('Z', true);
    E2E_CHECK(TextBecomes(box, ""));
    PressAndWait('Z', true);  // undoes the undo
    E2E_CHECK(TextBecomes(box, text));
    PressAndWait('A', true);
    PressAndWait('C', true);
    E2E_CHECK_EQ(win32::ClipboardText(nullptr), text);
    PressAndWait('X', true);
    E2E_CHECK(TextBecomes(box, ""));
    PressAndWait('V', true);
    E2E_CHECK(TextBecomes(box, text));

    win32::SetClipboardText(nullptr, "12ab");  // refused whole: the digit filter holds for a paste
    PressAndWait('A', true);
    PressAndWait('V', true);
    Sleep(200);
    E2E_CHECK_EQ(WindowText(box), text);
    win32::SetClipboardText(nullptr, pasted);
    PressAndWait('V', true);  // over the selection
    E2E_CHECK(TextBecomes(box, pasted));
}

}  // namespace

HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

bool FocusIsOnAControl(HWND window) {
    if (WaitUntil([&] { return IsChild(window, FocusedControl(window)) != FALSE; }, 2000)) {
        return true;
    }
    HWND focus = FocusedControl(window);
    Note("focus on " + (focus == window    ? std::string("the window itself")
                        : focus == nullptr ? std::string("nothing")
                                           : WindowClass(focus) + " " + WindowText(focus)));
    return false;
}

void KeyboardEditsTheNumberBoxesAndEnterApplies(HWND main, DWORD process_id) {
    Context in("keyboard");
    SetForegroundWindow(main);
    {
        Context box("txtMTU");
        EditWithKeys(main, frm_main::mtu_custom, frm_main::mtu_value, "15a00", "1500", "576");
    }
    {
        Context box("txtTTL");
        EditWithKeys(main, frm_main::ttl_custom, frm_main::ttl_value, "12a8", "128", "64");
    }
    HWND ttl = FindControl(main, frm_main::ttl_value);
    PressAndWait(VK_RETURN);
    auto applied = WaitForMessageBox(process_id);
    if (E2E_CHECK(applied.has_value())) {
        E2E_CHECK_EQ(applied->text.substr(0, 29), "Changes Applied Successfully.");
        DismissMessageBoxes(process_id);
    }
    E2E_CHECK(WaitUntil([&] { return FocusedControl(main) == ttl; }, 2000));
}

}  // namespace zv::e2e
