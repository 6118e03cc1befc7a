// The binder between the control model and real Win32 controls. It creates each real
// control from its model (position in twips, caption, state) and keeps the two in step:
//   - a user's change of a real control sets the model, and the model runs the handler;
//   - a program's change of the model is mirrored onto the real control, without running
//     anything again (a guard drops the echo that Windows sends back, e.g. EN_CHANGE).
// The window base routes its window's WM_COMMAND and WM_TIMER to it.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "ui/captioned.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/field.h"
#include "ui/option.h"
#include "ui/text_box.h"
#include "ui/timer.h"

namespace zv::win32 {

class Binding;

class Binder {
  public:
    // parent: the window the controls live in; font: the font they use (not owned).
    Binder(HWND parent, HFONT font, int dpi);
    ~Binder();
    Binder(const Binder&) = delete;
    Binder& operator=(const Binder&) = delete;

    int dpi() const { return dpi_; }

    HWND AddLabel(ui::Captioned& model, int id, DWORD style = SS_LEFT);
    HWND AddFrame(ui::Frame& model, int id);
    HWND AddButton(ui::Button& model, int id, DWORD style = BS_PUSHBUTTON);
    HWND AddOption(ui::Option& model, int id, bool first_of_group);
    HWND AddCheckBox(ui::CheckBox& model, int id);
    HWND AddTextBox(ui::TextBox& model, int id);
    // The drop-down part is drop_lines items tall.
    HWND AddComboBox(ui::ComboBox& model, int id, int drop_lines = 12);
    // The label, then the control it names, so that the label's access key reaches it.
    HWND AddField(ui::Field<ui::TextBox>& field, int label_id, int box_id);
    HWND AddField(ui::Field<ui::ComboBox>& field, int label_id, int box_id, int drop_lines = 12);
    // A progress bar with no model, kept at the bounds.
    HWND AddProgressBar(const ui::Bounds& bounds, int id);
    // A label never shown, which a screen reader reads as the name of the control made next,
    // kept at that control's bounds: for a control without a static text right before it (a
    // value box after its options, a list, a progress bar). Active Accessibility names such a
    // control after the first static text before it in creation order.
    void AddReaderName(const char* text, const ui::Bounds& bounds);
    // A control the window made itself, put at the bounds now and at each new DPI.
    void KeepPlaced(HWND control, const ui::Bounds& bounds);
    // A timer on the parent window, armed while the model runs.
    void BindTimer(ui::Timer& model, UINT_PTR id);
    // The parent window itself: caption, visibility and window state.
    void BindWindow(ui::Window& model);

    // Routes the parent's WM_COMMAND and WM_TIMER; true when a bound control took it.
    bool OnCommand(WPARAM wparam, LPARAM lparam);
    bool OnTimer(WPARAM timer_id);

    RECT TwipsToRect(const ui::Bounds& bounds) const;

    // The window moved to a monitor of another DPI: every control goes where its bounds lie
    // at the new DPI, in the new font (not owned) where it had the old one.
    void Rescale(int dpi, HFONT font);

  private:
    HWND CreateChild(ui::Control& model, const char* window_class, const char* text, DWORD style,
                     int id, int extra_height = 0);
    void Keep(std::unique_ptr<Binding> binding, UINT id);
    HWND MakePlaced(const char* window_class, const char* text, DWORD style, INT_PTR id,
                    const ui::Bounds& bounds);
    void Place(HWND control, const ui::Bounds& bounds) const;

    HWND parent_;
    HFONT font_;
    int dpi_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    std::map<UINT, Binding*> by_command_;
    std::map<UINT_PTR, ui::Timer*> timers_;
    std::vector<std::pair<HWND, ui::Bounds>> placed_;
};

}  // namespace zv::win32
