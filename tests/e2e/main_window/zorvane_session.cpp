#include "zorvane_session.h"

#include <vector>

#include "support/check.h"
#include "support/message_boxes.h"
#include "support/windows_on_screen.h"
#include "win32/zorvane/frm_main_ids.h"

namespace zv::e2e {
namespace {

constexpr const char* kTipClass = "ZorvaneTipOfTheDay";

// Lets the other process run the message just posted or sent.
void Settle() {
    Sleep(150);
}

}  // namespace

ZorvaneSession::ZorvaneSession(const std::string& arguments)
    : process_(std::make_unique<ChildProcess>(AppCommand("Zorvane.exe", arguments))) {
    if (!process_->started()) {
        return;
    }
    DWORD pid = process_->id();
    HWND found = nullptr;
    WaitUntil([&] {
        std::vector<HWND> tips = FindTopLevelWindows({pid, kTipClass, "", true});
        if (!tips.empty()) {
            PostMessageA(tips.front(), WM_CLOSE, 0, 0);
            Sleep(100);
            return false;
        }
        std::vector<HWND> mains =
            FindTopLevelWindows({pid, win32::frm_main::kMainWindowClass, "", true});
        found = mains.empty() ? nullptr : mains.front();
        return found != nullptr;
    });
    main_ = found;
    Settle();
}

HWND ZorvaneSession::Control(int id) const {
    return FindControl(main_, id);
}

std::string ZorvaneSession::Text(int id) const {
    HWND control = Control(id);
    wchar_t wide[512] = {};
    LRESULT selection = SendMessageW(control, CB_GETCURSEL, 0, 0);
    if (WindowClass(control) == "ComboBox") {
        if (selection < 0) {
            return "";
        }
        SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(selection),
                     reinterpret_cast<LPARAM>(wide));
    } else {
        // GetWindowText does not ask another process's edit control for its text.
        SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(wide));
    }
    char narrow[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

bool ZorvaneSession::Checked(int id) const {
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool ZorvaneSession::Enabled(int id) const {
    return IsWindowEnabled(Control(id)) != FALSE;
}

void ZorvaneSession::Click(int id) {
    SendMessageA(Control(id), BM_CLICK, 0, 0);
    Settle();
}

void ZorvaneSession::PostClick(int id) {
    e2e::PostClick(main_, id);
}

void ZorvaneSession::Type(int id, const std::string& keys) {
    for (char key : keys) {
        SendMessageA(Control(id), WM_CHAR, static_cast<unsigned char>(key), 1);
    }
    Settle();
}

void ZorvaneSession::Pick(int id, int position) {
    SendMessageA(Control(id), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageA(main_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(id)));
    Settle();
}

void ZorvaneSession::PostPick(int id, int position) {
    SendMessageA(Control(id), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(id)));
}

void ZorvaneSession::PostCommand(int id) {
    PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool ZorvaneSession::Answer(const std::string& text, int button, const std::string& caption,
                            DWORD wait_ms) {
    std::optional<MessageBoxSeen> box = WaitForMessageBox(process_->id(), wait_ms, last_box_);
    if (!E2E_CHECK(box.has_value())) {
        Note("expected a message box: " + Escape(text));
        return false;
    }
    last_box_ = box->window;
    E2E_CHECK_EQ(box->text, text);
    E2E_CHECK_EQ(box->caption, caption);
    bool answered = AnswerMessageBox(*box, button);
    Settle();
    return E2E_CHECK(answered);
}

bool ZorvaneSession::NoMessageBox(DWORD wait_ms) {
    Sleep(wait_ms);
    return FindMessageBoxes(process_->id()).empty();
}

bool ZorvaneSession::Close() {
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return process_->WaitForExit().has_value();
}

bool InSession(const std::function<void(ZorvaneSession&)>& steps, const std::string& arguments) {
    ZorvaneSession zorvane(arguments);
    if (!E2E_CHECK(zorvane.ok())) {
        return false;
    }
    steps(zorvane);
    return true;
}

}  // namespace zv::e2e
