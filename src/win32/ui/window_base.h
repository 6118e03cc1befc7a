// The base of every real window: it registers the window class once, attaches the C++
// object to its window in one place (WM_NCCREATE) and dispatches messages to it, the
// commands and timers of its controls to their binder first. Window procedures never let
// an exception escape.
#pragma once

#include <windows.h>

#include <memory>

namespace zv::win32 {

class Binder;

class WindowBase {
  public:
    WindowBase() = default;
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Creates the window (hidden until the caller shows it) with the given client size in
    // pixels, centred on the owner or the screen. Its title bar follows Windows' dark app
    // setting from then on, where Windows can draw it dark.
    bool Create(const char* class_name, const char* caption, DWORD style, DWORD ex_style,
                int client_width, int client_height, HWND owner, HMENU menu = nullptr);

    // Shows the window in front, first remade for its own DPI where it was built at
    // another (made before it knew its monitor, one of another scale than the system's).
    void ShowInFront();

    // Shows the window and runs a message loop until it is destroyed, with the owner
    // disabled meanwhile: a modal window.
    void RunModal(HWND owner);

    // Destroys the window once the message that asked for it has been handled, so that it
    // does not go away inside a click of its own.
    void CloseSoon();

  protected:
    // For a window that lives while open and deletes itself when closed: when it was
    // built, shows it in front and gives true; when not, deletes it and gives false.
    static bool ShownInFront(WindowBase* window, bool built);

    // Makes the binder of the window's controls (after Create): WM_COMMAND and WM_TIMER go
    // to it before HandleMessage. With closes_on_escape, Esc (IDCANCEL) destroys the window,
    // as it closes a dialog.
    Binder& MakeBinder(HFONT font, int dpi, bool closes_on_escape);
    // Esc (IDCANCEL) clicks this button of a window that does not close on Esc.
    void PressOnEscape(int button_id) { escape_button_ = button_id; }
    bool HasBinder() const { return binder_ != nullptr; }
    Binder& binder() const { return *binder_; }
    // At a new DPI: the message font made anew for it (the old one deleted once no control
    // has it) and every control of the binder moved and set in it.
    void RescaleControls(HFONT& font, int dpi);
    // A derived window's destructor drops the binder before its controls' models go.
    void DropBinder();

    // Messages not handled here go to DefWindowProc. DM_GETDEFID, which Enter asks, names
    // the push button that has the focus, else the window's default push button;
    // WM_SYSCOLORCHANGE is passed on to the window's controls first.
    virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    // Called after WM_DESTROY; the object may delete itself here.
    virtual void OnDestroyed() {}
    // The window's DPI changed (it moved to a monitor of another scale): the window makes
    // its fonts, pictures and layout anew for the DPI, and may change the rectangle
    // Windows suggests, which the window then takes.
    virtual void OnDpiChanged(int /*dpi*/, RECT& /*suggested*/) {}

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    // True when the binder (or Esc of a dialog, or CloseSoon) took the message.
    bool RouteToBinder(UINT message, WPARAM wparam, LPARAM lparam);
    // A new DPI from Windows: the window remakes itself for it, then takes the rectangle.
    // Only a window whose controls are all made is told.
    void TakeDpi(int dpi, RECT suggested);
    int DefaultButton() const;

    HWND hwnd_ = nullptr;
    std::unique_ptr<Binder> binder_;
    bool closes_on_escape_ = false;
    int escape_button_ = 0;
    bool dark_title_ = false;  // what the title bar was last asked to be
};

// The control ID of a window's Back button, which Backspace presses outside a text box.
inline constexpr int kBackButtonId = 0x7F00;

// The message loop of a program: dispatches until WM_QUIT, giving the active window's
// controls the keyboard interface of a dialog (Tab, arrows, access keys) and Backspace
// outside a text box its Back button.
int RunMessageLoop();

// Dispatches one message the same way; false when it was WM_QUIT (which it posts again).
bool DispatchOneMessage(const MSG& message);

}  // namespace zv::win32
