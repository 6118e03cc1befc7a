// A one-line text box. Every change of its text runs on_change. Each typed character
// passes on_key_press first, which may refuse it; text pasted in one piece passes
// on_paste. A text box may cap its length, as the real edit control does.
//
// The editing shortcuts Ctrl+A (select all), Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z reach the
// box as the characters 1, 3, 22, 24 and 26. They are commands, not text: every text box
// takes them and no key filter sees them (what Ctrl+V pastes still passes on_paste).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "ui/control.h"

namespace zv::ui {

constexpr char kBackspace = 8;
constexpr char kSelectAllKey = 1;  // Ctrl+A

bool IsEditingShortcut(char key);

class TextBox : public Control {
  public:
    std::function<void()> on_change;
    std::function<bool(char)> on_key_press;            // false discards the key
    std::function<bool(const std::string&)> on_paste;  // false refuses the text

    const std::string& text() const { return text_; }
    void SetText(const std::string& text);

    // 0 = no limit.
    std::size_t max_length() const { return max_length_; }
    void SetMaxLength(std::size_t max_length) { max_length_ = max_length; }

    // Whether the key may reach the box: an editing shortcut always, else as on_key_press
    // says.
    bool AcceptsKey(char key) const {
        return IsEditingShortcut(key) || !on_key_press || on_key_press(key);
    }
    bool AcceptsPaste(const std::string& text) const { return !on_paste || on_paste(text); }

    // A user typing one character at the end of the text (backspace deletes the last one;
    // an editing shortcut changes nothing here, as the model has no selection).
    void Type(char key);
    // A user pasting text at the end.
    void Paste(const std::string& text);

    enum class Alignment { Left, Center };
    Alignment alignment() const { return alignment_; }
    void SetAlignment(Alignment alignment);

  private:
    std::string Capped(std::string text) const;

    std::string text_;
    std::size_t max_length_ = 0;
    Alignment alignment_ = Alignment::Left;
};

}  // namespace zv::ui
