#include "ui/text_box.h"

namespace zv::ui {

bool IsEditingShortcut(char key) {
    constexpr char kCopy = 3, kPaste = 22, kCut = 24, kUndo = 26;
    return key == kSelectAllKey || key == kCopy || key == kPaste || key == kCut || key == kUndo;
}

void TextBox::SetText(const std::string& text) {
    if (Update(text_, text, Change::Text) && on_change) {
        on_change();
    }
}

void TextBox::Type(char key) {
    if (IsEditingShortcut(key) || !AcceptsKey(key)) {
        return;
    }
    if (key == kBackspace) {
        if (!text_.empty()) {
            SetText(text_.substr(0, text_.size() - 1));
        }
        return;
    }
    SetText(Capped(text_ + key));
}

void TextBox::Paste(const std::string& text) {
    if (AcceptsPaste(text)) {
        SetText(Capped(text_ + text));
    }
}

void TextBox::SetAlignment(Alignment alignment) {
    Update(alignment_, alignment, Change::Value);
}

std::string TextBox::Capped(std::string text) const {
    if (max_length_ != 0 && text.size() > max_length_) {
        text.resize(max_length_);
    }
    return text;
}

}  // namespace zv::ui
