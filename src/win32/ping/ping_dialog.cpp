#include "win32/ping/ping_dialog.h"

#include "win32/ping/ping_ids.h"
#include "win32/ui/layout.h"

namespace zv::win32 {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

HICON DialogIcon() {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    return icon != nullptr ? icon : LoadIcon(nullptr, IDI_APPLICATION);
}

// Starts a new group for the arrow keys, so they stay within the option buttons.
void StartGroup(HWND control) {
    SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | WS_GROUP);
}

}  // namespace

PingDialogWindow::PingDialogWindow(ping::KeepAlivePing& ping, ui::MessageBoxPort& messages,
                                   launch::LauncherPort& launcher, const std::string& program_dir,
                                   const std::string& program_title)
    : dialog_(ping, messages, launcher, program_dir, program_title) {
    dialog_.on_unload = [this] { CloseSoon(); };
}

PingDialogWindow::~PingDialogWindow() {
    if (hwnd() != nullptr) {
        DestroyWindow(hwnd());
    }
    DropBinder();
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

bool PingDialogWindow::Load(HWND owner) {
    int dpi = WindowDpi(owner);
    font_ = CreateMessageFont(dpi);
    if (!Create(frm_ping::kClassName, dialog_.window.caption().c_str(), kStyle, kExStyle,
                TwipsToPixels(ping::kPingDialogWidth, dpi),
                TwipsToPixels(ping::kPingDialogHeight, dpi), owner)) {
        return false;
    }
    // Load first: each real control is then created in the state Load gave its model,
    // which matters where a style cannot change afterwards (the host box's alignment).
    dialog_.Form_Load();
    MakeBinder(font_, dpi, false);
    PressOnEscape(frm_ping::cmdCancel);
    AddControls();
    return true;
}

void PingDialogWindow::OnDpiChanged(int dpi, RECT& /*suggested*/) {
    RescaleControls(font_, dpi);
}

// Created in tab order: the order of creation is the order Tab walks.
void PingDialogWindow::AddControls() {
    namespace id = frm_ping;
    binder().BindWindow(dialog_.window);
    binder().AddLabel(dialog_.explanation_label, id::explanation_label);
    binder().AddFrame(dialog_.configuration_frame, id::configuration_frame);
    binder().AddOption(dialog_.automatic_mode, id::automatic_mode, true);
    binder().AddOption(dialog_.manual_mode, id::manual_mode, false);
    StartGroup(binder().AddLabel(dialog_.host_label, id::host_label));
    binder().AddTextBox(dialog_.txtPingHost, id::txtPingHost);
    binder().AddLabel(dialog_.interval_label, id::interval_label);
    binder().AddComboBox(dialog_.cmbPingInterval, id::cmbPingInterval);
    binder().AddButton(dialog_.cmdOK, id::cmdOK, BS_DEFPUSHBUTTON);
    binder().AddButton(dialog_.cmdCancel, id::cmdCancel);
    binder().AddCheckBox(dialog_.chkSound, id::chkSound);
    binder().AddButton(dialog_.cmdDefault, id::cmdDefault);
    HWND picture =
        binder().AddLabel(dialog_.ping_picture, id::ping_picture, SS_ICON | SS_CENTERIMAGE);
    SendMessageA(picture, STM_SETICON, reinterpret_cast<WPARAM>(DialogIcon()), 0);
    binder().AddButton(dialog_.cmdHelp, id::cmdHelp);
}

PingDialogHost::PingDialogHost(ping::KeepAlivePing& ping, ui::MessageBoxPort& messages,
                               launch::LauncherPort& launcher, std::string program_dir,
                               std::string program_title, PingDialogMode mode)
    : ping_(ping),
      messages_(messages),
      launcher_(launcher),
      program_dir_(std::move(program_dir)),
      program_title_(std::move(program_title)),
      mode_(mode) {}

void PingDialogHost::OpenPingDialog(HWND owner) {
    if (HWND open = DialogWindow()) {
        ShowWindow(open, SW_SHOWNORMAL);
        SetForegroundWindow(open);
        return;
    }
    window_ = std::make_unique<PingDialogWindow>(ping_, messages_, launcher_, program_dir_,
                                                 program_title_);
    if (!window_->Load(owner)) {
        window_.reset();
        return;
    }
    if (mode_ == PingDialogMode::Modal) {
        window_->RunModal(owner);
        window_.reset();
        return;
    }
    window_->ShowInFront();
}

HWND PingDialogHost::DialogWindow() const {
    return window_ != nullptr ? window_->hwnd() : nullptr;
}

}  // namespace zv::win32
