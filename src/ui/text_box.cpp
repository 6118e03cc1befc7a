#include "ui/text_box.h"

namespace zv::ui {

bool IsEditingShortcut(char key) {
    constexpr char kCopy = 3, kPaste = 22, kCut = 24, kUndo = 26;
    return key == kSelectAllKey || key == kCopy || key == kPaste || key == kCut || key == kUndo;
}

void TextBox::SetText(const std::string& text) {
    if (text_ == text) {
        return;
    }
    text_ = text;
    Notify(Change::Text);
    if (on_change) {
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
    if (alignment_ != alignment) {
        alignment_ = alignment;
        Notify(Change::Value);
    }
}

std::string TextBox::Capped(std::string text) const {
    if (max_length_ != 0 && text.size() > max_length_) {
        text.resize(max_length_);
    }
    return text;
}

}  // namespace zv::ui
