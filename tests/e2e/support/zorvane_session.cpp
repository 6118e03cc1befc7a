#include "support/zorvane_session.h"

#include <vector>

#include "fakes/program_texts.h"
#include "support/check.h"
#include "support/message_boxes.h"
#include "support/windows_on_screen.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::e2e {
namespace {

constexpr const char* kTipClass = "ZorvaneTipOfTheDay";

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
        std::vector<HWND> mains = FindTopLevelWindows({pid, win32::frm_main::kClassName, "", true});
        found = mains.empty() ? nullptr : mains.front();
        return found != nullptr;
    });
    window_ = found;
    Settle();
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

void ZorvaneSession::AnswerChangeMadeRestartLater(const std::string& done_text) {
    Answer(done_text, IDOK);
    Answer(test_texts::kRestartQuestion, IDNO);
    Answer(test_texts::kRememberText, IDOK);
}

bool ZorvaneSession::NoMessageBox(DWORD wait_ms) {
    Sleep(wait_ms);
    return FindMessageBoxes(process_->id()).empty();
}

bool ZorvaneSession::Close() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
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
