#include "win32/ui/binder.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "win32/ui/clipboard.h"
#include "win32/ui/layout.h"

namespace zv::win32 {
namespace {

// The ID of a static text that sends no command (the resource compiler's IDC_STATIC).
constexpr INT_PTR kReaderNameId = -1;

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), length + 1)));
    return text;
}

void SetTextIfDifferent(HWND hwnd, const std::string& text) {
    if (WindowText(hwnd) != text) {
        SetWindowTextA(hwnd, text.c_str());
    }
}

}  // namespace

// Keeps one real control in step with its model. Mirroring compares the real state with
// the model's first, so the echo of a user's own change writes nothing back.
class Binding : public ui::ControlView {
  public:
    Binding(ui::Control& model, HWND hwnd, const Binder& binder)
        : model_(model), hwnd_(hwnd), binder_(binder) {
        model_.AttachView(this);
    }
    ~Binding() override { model_.AttachView(nullptr); }

    void OnChange(ui::Change what) override {
        switch (what) {
            case ui::Change::Enabled:
                // A control disabled under the focus would leave the keyboard nowhere.
                if (!model_.enabled() && GetFocus() == hwnd_) {
                    SetFocus(GetNextDlgTabItem(GetParent(hwnd_), hwnd_, FALSE));
                }
                EnableWindow(hwnd_, model_.enabled());
                break;
            case ui::Change::Visible:
                ShowWindow(hwnd_, model_.visible() ? SW_SHOW : SW_HIDE);
                break;
            case ui::Change::Bounds: {
                RECT r = binder_.TwipsToRect(model_.bounds());
                MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top + ExtraHeight(),
                           TRUE);
                break;
            }
            default:
                Mirror(what);
        }
    }

    // A notification code of WM_COMMAND from the real control.
    virtual void OnNotify(WORD /*code*/) {}

    // Puts the control where its bounds lie at the binder's new DPI, in the new font when
    // it had the binder's old one (a heading keeps the font its window gave it).
    virtual void Rescale(HFONT old_font, HFONT new_font) {
        OnChange(ui::Change::Bounds);
        if (reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)) == old_font) {
            SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(new_font), TRUE);
        }
    }

  protected:
    virtual void Mirror(ui::Change /*what*/) {}
    // Pixels the real control is taller than its model, as a drop-down list's open part.
    virtual int ExtraHeight() const { return 0; }
    HWND hwnd() const { return hwnd_; }
    const Binder& binder() const { return binder_; }
    void ReplaceWindow(HWND hwnd) { hwnd_ = hwnd; }

  private:
    ui::Control& model_;
    HWND hwnd_;
    const Binder& binder_;
};

namespace {

class CaptionBinding : public Binding {
  public:
    CaptionBinding(ui::Captioned& model, HWND hwnd, const Binder& binder)
        : Binding(model, hwnd, binder), model_(model) {}

  protected:
    void Mirror(ui::Change what) override {
        if (what == ui::Change::Text) {
            SetTextIfDifferent(hwnd(), model_.caption());
        }
    }

  private:
    ui::Captioned& model_;
};

// What a click does to each kind of button, and the check mark a change of the model shows
// (none for a push button, which has no check mark).
void Press(ui::Button& button) {
    button.Click();
}
void Press(ui::Option& option) {
    option.Select();
}
void Press(ui::CheckBox& box) {
    box.Toggle();
}
std::optional<bool> CheckMark(const ui::Button&, ui::Change) {
    return std::nullopt;
}
std::optional<bool> CheckMark(const ui::Option& option, ui::Change what) {
    return what == ui::Change::Checked ? std::optional<bool>(option.selected()) : std::nullopt;
}
std::optional<bool> CheckMark(const ui::CheckBox& box, ui::Change what) {
    return what == ui::Change::Value ? std::optional<bool>(box.value() == kChecked) : std::nullopt;
}

void ShowCheckMark(HWND hwnd, bool checked) {
    SendMessageA(hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// A push button, an option or a check box: all three are the BUTTON class and tell of a
// click alike.
template <typename Model>
class ButtonBinding : public CaptionBinding {
  public:
    ButtonBinding(Model& model, HWND hwnd, const Binder& binder)
        : CaptionBinding(model, hwnd, binder), model_(model) {}
    void OnNotify(WORD code) override {
        if (code == BN_CLICKED) {
            Press(model_);
        }
    }

  protected:
    void Mirror(ui::Change what) override {
        if (std::optional<bool> checked = CheckMark(model_, what)) {
            ShowCheckMark(hwnd(), *checked);
        }
        CaptionBinding::Mirror(what);
    }

  private:
    Model& model_;
};

class TextBoxBinding : public Binding {
  public:
    TextBoxBinding(ui::TextBox& model, HWND hwnd, const Binder& binder)
        : Binding(model, hwnd, binder), model_(model) {
        SendMessageA(hwnd, EM_LIMITTEXT, model.max_length(), 0);
        Subclass(hwnd);
    }
    ~TextBoxBinding() override { Unsubclass(hwnd()); }

    void OnNotify(WORD code) override {
        if (code == EN_CHANGE) {
            model_.SetText(WindowText(hwnd()));
        }
    }

  protected:
    void Mirror(ui::Change what) override {
        if (what == ui::Change::Text) {
            SetTextIfDifferent(hwnd(), model_.text());
        } else if (what == ui::Change::Value) {
            Realign();
        }
    }

  private:
    // Some edit controls (Wine's among them) ignore a change of alignment after creation,
    // so the edit is made again in place: same ID, rectangle, font, text, state and place
    // in the tab order.
    void Realign() {
        HWND old = hwnd();
        HWND parent = GetParent(old);
        RECT r;
        GetWindowRect(old, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        bool centred = model_.alignment() == ui::TextBox::Alignment::Center;
        DWORD style = static_cast<DWORD>(GetWindowLongPtrA(old, GWL_STYLE)) &
                      ~static_cast<DWORD>(ES_LEFT | ES_CENTER | ES_RIGHT);
        HWND fresh =
            CreateWindowExA(static_cast<DWORD>(GetWindowLongPtrA(old, GWL_EXSTYLE)), WC_EDITA,
                            model_.text().c_str(), style | (centred ? ES_CENTER : ES_LEFT), r.left,
                            r.top, r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(old))),
                            GetModuleHandleA(nullptr), nullptr);
        if (fresh == nullptr) {
            return;
        }
        SendMessageA(fresh, WM_SETFONT, SendMessageA(old, WM_GETFONT, 0, 0), FALSE);
        SendMessageA(fresh, EM_LIMITTEXT, model_.max_length(), 0);
        SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        bool had_focus = GetFocus() == old;
        Unsubclass(old);
        DestroyWindow(old);
        ReplaceWindow(fresh);
        Subclass(fresh);
        if (had_focus) {
            SetFocus(fresh);
        }
    }

    // Classic subclassing through user32 alone, so that a program needs the common
    // controls library only for the common controls it shows.
    void Subclass(HWND edit) {
        SetPropA(edit, kBindingProperty, this);
        edit_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextBoxBinding::EditProc)));
    }
    void Unsubclass(HWND edit) {
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(edit_proc_));
        RemovePropA(edit, kBindingProperty);
    }

    // Keys and pasted text pass the model's filters before the edit control sees them.
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* self = static_cast<TextBoxBinding*>(GetPropA(hwnd, kBindingProperty));
        if (self == nullptr) {
            return DefWindowProcA(hwnd, message, wparam, lparam);
        }
        if (message == WM_CHAR) {
            char key = static_cast<char>(wparam);
            if (!self->model_.AcceptsKey(key)) {
                return 0;
            }
            // Edit controls before Windows Vista ignore Ctrl+A.
            if (key == ui::kSelectAllKey) {
                CallWindowProcA(self->edit_proc_, hwnd, EM_SETSEL, 0, -1);
                return 0;
            }
        }
        if (message == WM_PASTE && !self->model_.AcceptsPaste(ClipboardText(hwnd))) {
            return 0;
        }
        return CallWindowProcA(self->edit_proc_, hwnd, message, wparam, lparam);
    }

    static constexpr const char* kBindingProperty = "Zorvane.TextBoxBinding";

    ui::TextBox& model_;
    WNDPROC edit_proc_ = nullptr;
};

// Adds the model's items from `first` on with the list's redrawing off: otherwise each item
// added sets the scroll bar of the drop-down part anew, which made filling the main window's
// long lists a sizeable share of its start. Only for a list of the visible style: redrawing
// switched back on shows a hidden window, and repaints nothing by itself.
void AddItems(HWND combo, const ui::ComboBox& model, int first) {
    const bool quiet = (GetWindowLongPtrA(combo, GWL_STYLE) & WS_VISIBLE) != 0;
    if (quiet) {
        SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
    }
    for (int i = first; i < model.ItemCount(); ++i) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(model.ItemText(i).c_str()));
    }
    if (quiet) {
        SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(combo, nullptr, TRUE);
    }
}

class ComboBoxBinding : public Binding {
  public:
    ComboBoxBinding(ui::ComboBox& model, HWND hwnd, const Binder& binder, int drop_lines)
        : Binding(model, hwnd, binder), model_(model), drop_lines_(drop_lines) {}

    void OnNotify(WORD code) override {
        if (code == CBN_SELCHANGE) {
            model_.SetSelection(static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0)));
        } else if (code == CBN_DROPDOWN && !dropped_before_) {
            GrowForTheList();
        }
    }

  protected:
    void Mirror(ui::Change what) override {
        if (what == ui::Change::Items) {
            SyncItems();
            what = ui::Change::Selection;
        }
        if (what == ui::Change::Selection &&
            SendMessageA(hwnd(), CB_GETCURSEL, 0, 0) != model_.selection()) {
            SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(model_.selection()), 0);
        }
    }

  private:
    void SyncItems() {
        int real_count = static_cast<int>(SendMessageA(hwnd(), CB_GETCOUNT, 0, 0));
        if (real_count > model_.ItemCount()) {
            SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
            real_count = 0;
        }
        AddItems(hwnd(), model_, real_count);
    }
    // A list is created as tall as its closed box and gets the height of its drop-down part
    // only when it first drops (the list is about to show, and reads the height then):
    // measured at creation, the drop-down part of every list costs start-up time.
    void GrowForTheList() {
        dropped_before_ = true;
        RECT r;
        GetWindowRect(hwnd(), &r);
        SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top + DropHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    int DropHeight() const {
        return TwipsToPixels(drop_lines_ * 195, binder().dpi());  // 195 twips a list line
    }
    int ExtraHeight() const override { return dropped_before_ ? DropHeight() : 0; }

    ui::ComboBox& model_;
    int drop_lines_;
    bool dropped_before_ = false;
};

class TimerBinding : public Binding {
  public:
    TimerBinding(ui::Timer& model, UINT_PTR id, HWND owner, const Binder& binder)
        : Binding(model, owner, binder), model_(model), id_(id) {
        Arm();
    }
    ~TimerBinding() override { KillTimer(hwnd(), id_); }

    void OnChange(ui::Change) override { Arm(); }
    void Rescale(HFONT, HFONT) override {}

  private:
    // SetTimer again restarts the count, as re-enabling a timer does.
    void Arm() {
        if (model_.running()) {
            SetTimer(hwnd(), id_, static_cast<UINT>(model_.interval()), nullptr);
        } else {
            KillTimer(hwnd(), id_);
        }
    }

    ui::Timer& model_;
    UINT_PTR id_;
};

class WindowBinding : public Binding {
  public:
    WindowBinding(ui::Window& model, HWND hwnd, const Binder& binder)
        : Binding(model, hwnd, binder), model_(model) {}

    // The window itself is moved by the one who was told of the new DPI.
    void Rescale(HFONT, HFONT) override {}

    void OnChange(ui::Change what) override {
        switch (what) {
            case ui::Change::Text:
                SetTextIfDifferent(hwnd(), model_.caption());
                break;
            case ui::Change::Visible:
                ShowWindow(hwnd(), model_.visible() ? SW_SHOW : SW_HIDE);
                break;
            case ui::Change::Value:
                if (model_.visible()) {
                    ShowWindow(hwnd(), ShowCommand());
                }
                break;
            case ui::Change::Bounds:
                SetWindowPos(hwnd(), nullptr, 0, 0,
                             TwipsToPixels(model_.bounds().width, binder().dpi()),
                             TwipsToPixels(model_.bounds().height, binder().dpi()),
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                break;
            default:
                break;
        }
    }

  private:
    int ShowCommand() const {
        switch (model_.state()) {
            case ui::WindowState::Minimized:
                return SW_MINIMIZE;
            case ui::WindowState::Maximized:
                return SW_MAXIMIZE;
            default:
                return SW_RESTORE;
        }
    }

    ui::Window& model_;
};

}  // namespace

Binder::Binder(HWND parent, HFONT font, int dpi) : parent_(parent), font_(font), dpi_(dpi) {}

Binder::~Binder() = default;

RECT Binder::TwipsToRect(const ui::Bounds& b) const {
    RECT r;
    r.left = TwipsToPixels(b.left, dpi_);
    r.top = TwipsToPixels(b.top, dpi_);
    r.right = r.left + TwipsToPixels(b.width, dpi_);
    r.bottom = r.top + TwipsToPixels(b.height, dpi_);
    return r;
}

HWND Binder::CreateChild(ui::Control& model, const char* window_class, const char* text,
                         DWORD style, int id, int extra_height) {
    RECT r = TwipsToRect(model.bounds());
    style |= WS_CHILD;
    if (model.visible()) {
        style |= WS_VISIBLE;
    }
    if (!model.enabled()) {
        style |= WS_DISABLED;
    }
    DWORD ex_style = (std::string(window_class) == WC_EDITA) ? WS_EX_CLIENTEDGE : 0;
    HWND hwnd = CreateWindowExA(ex_style, window_class, text, style, r.left, r.top,
                                r.right - r.left, r.bottom - r.top + extra_height, parent_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return hwnd;
}

void Binder::Keep(std::unique_ptr<Binding> binding, UINT id) {
    by_command_[id] = binding.get();
    bindings_.push_back(std::move(binding));
}

HWND Binder::AddLabel(ui::Captioned& model, int id, DWORD style) {
    HWND hwnd = CreateChild(model, WC_STATICA, model.caption().c_str(), style, id);
    Keep(std::make_unique<CaptionBinding>(model, hwnd, *this), static_cast<UINT>(id));
    return hwnd;
}

HWND Binder::AddFrame(ui::Frame& model, int id) {
    HWND hwnd = CreateChild(model, WC_BUTTONA, model.caption().c_str(), BS_GROUPBOX, id);
    Keep(std::make_unique<CaptionBinding>(model, hwnd, *this), static_cast<UINT>(id));
    return hwnd;
}

HWND Binder::AddButton(ui::Button& model, int id, DWORD style) {
    HWND hwnd = CreateChild(model, WC_BUTTONA, model.caption().c_str(), style | WS_TABSTOP, id);
    Keep(std::make_unique<ButtonBinding<ui::Button>>(model, hwnd, *this), static_cast<UINT>(id));
    return hwnd;
}

HWND Binder::AddOption(ui::Option& model, int id, bool first_of_group) {
    DWORD style = BS_RADIOBUTTON | WS_TABSTOP | (first_of_group ? WS_GROUP : 0);
    HWND hwnd = CreateChild(model, WC_BUTTONA, model.caption().c_str(), style, id);
    ShowCheckMark(hwnd, model.selected());
    Keep(std::make_unique<ButtonBinding<ui::Option>>(model, hwnd, *this), static_cast<UINT>(id));
    return hwnd;
}

HWND Binder::AddCheckBox(ui::CheckBox& model, int id) {
    HWND hwnd =
        CreateChild(model, WC_BUTTONA, model.caption().c_str(), BS_CHECKBOX | WS_TABSTOP, id);
    ShowCheckMark(hwnd, model.value() == kChecked);
    Keep(std::make_unique<ButtonBinding<ui::CheckBox>>(model, hwnd, *this), static_cast<UINT>(id));
    return hwnd;
}

HWND Binder::AddTextBox(ui::TextBox& model, int id) {
    DWORD align = model.alignment() == ui::TextBox::Alignment::Center ? ES_CENTER : ES_LEFT;
    HWND hwnd =
        CreateChild(model, WC_EDITA, model.text().c_str(), ES_AUTOHSCROLL | WS_TABSTOP | align, id);
    Keep(std::make_unique<TextBoxBinding>(model, hwnd, *this), static_cast<UINT>(id));
    return hwnd;
}

HWND Binder::AddComboBox(ui::ComboBox& model, int id, int drop_lines) {
    HWND hwnd =
        CreateChild(model, WC_COMBOBOXA, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, id);
    auto binding = std::make_unique<ComboBoxBinding>(model, hwnd, *this, drop_lines);
    AddItems(hwnd, model, 0);
    SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(model.selection()), 0);
    Keep(std::move(binding), static_cast<UINT>(id));
    return hwnd;
}

HWND Binder::AddField(ui::Field<ui::TextBox>& field, int label_id, int box_id) {
    AddLabel(field.label, label_id);
    return AddTextBox(field.box, box_id);
}

HWND Binder::AddField(ui::Field<ui::ComboBox>& field, int label_id, int box_id, int drop_lines) {
    AddLabel(field.label, label_id);
    return AddComboBox(field.box, box_id, drop_lines);
}

HWND Binder::AddProgressBar(const ui::Bounds& bounds, int id) {
    return MakePlaced(PROGRESS_CLASSA, "", WS_VISIBLE, id, bounds);
}

void Binder::AddReaderName(const char* text, const ui::Bounds& bounds) {
    MakePlaced(WC_STATICA, text, SS_LEFT | SS_NOPREFIX, kReaderNameId, bounds);
}

// Made where its bounds lie, rather than made empty and moved there.
HWND Binder::MakePlaced(const char* window_class, const char* text, DWORD style, INT_PTR id,
                        const ui::Bounds& bounds) {
    RECT r = TwipsToRect(bounds);
    HWND control = CreateWindowExA(0, window_class, text, WS_CHILD | style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, parent_,
                                   reinterpret_cast<HMENU>(id), GetModuleHandleA(nullptr), nullptr);
    placed_.emplace_back(control, bounds);
    return control;
}

void Binder::KeepPlaced(HWND control, const ui::Bounds& bounds) {
    placed_.emplace_back(control, bounds);
    Place(control, bounds);
}

void Binder::Place(HWND control, const ui::Bounds& bounds) const {
    RECT r = TwipsToRect(bounds);
    MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void Binder::BindTimer(ui::Timer& model, UINT_PTR id) {
    bindings_.push_back(std::make_unique<TimerBinding>(model, id, parent_, *this));
    timers_[id] = &model;
}

void Binder::BindWindow(ui::Window& model) {
    bindings_.push_back(std::make_unique<WindowBinding>(model, parent_, *this));
}

void Binder::Rescale(int dpi, HFONT font) {
    HFONT old_font = font_;
    dpi_ = dpi;
    font_ = font;
    for (const std::unique_ptr<Binding>& binding : bindings_) {
        binding->Rescale(old_font, font);
    }
    for (const auto& [control, bounds] : placed_) {
        Place(control, bounds);
    }
}

bool Binder::OnCommand(WPARAM wparam, LPARAM) {
    auto it = by_command_.find(LOWORD(wparam));
    if (it == by_command_.end()) {
        return false;
    }
    it->second->OnNotify(HIWORD(wparam));
    return true;
}

bool Binder::OnTimer(WPARAM timer_id) {
    auto it = timers_.find(timer_id);
    if (it == timers_.end()) {
        return false;
    }
    it->second->Tick();
    return true;
}

}  // namespace zv::win32
