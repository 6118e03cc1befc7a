#include "win32/vigilo/rpm_window.h"

#include <commctrl.h>

#include <utility>

#include "win32/ui/clipboard.h"
#include "win32/ui/layout.h"
#include "win32/vigilo/network_cost.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::win32 {
namespace {

namespace id = frm_rpm;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

}  // namespace

RpmWindow* RpmWindow::Open(monitor::OptionsPort& options, ui::MessageBoxPort& messages,
                           RpmTester& tester, std::function<void()> on_closed) {
    auto* window = new RpmWindow(options, messages, tester, std::move(on_closed));
    return ShownInFront(window, window->Build()) ? window : nullptr;
}

RpmWindow::RpmWindow(monitor::OptionsPort& options, ui::MessageBoxPort& messages, RpmTester& tester,
                     std::function<void()> on_closed)
    : tester_(tester),
      view_({options, messages, tester, *this}, tester.LastResult()),
      on_closed_(std::move(on_closed)) {}

RpmWindow::~RpmWindow() {
    DropBinder();
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

// Created in tab order.
bool RpmWindow::Build() {
    int dpi = ScreenDpi();
    if (!Create(id::kClassName, view_.frmRpm.caption().c_str(), kStyle, kExStyle,
                TwipsToPixels(monitor::kRpmWidth, dpi), TwipsToPixels(monitor::kRpmHeight, dpi),
                nullptr)) {
        return false;
    }
    font_ = CreateMessageFont(dpi);
    MakeBinder(font_, dpi, true);
    view_.Layout();
    binder().BindWindow(view_.frmRpm);
    binder().AddField(view_.fldServer, id::lblServer, id::txtServer);
    binder().AddButton(view_.cmdStart, id::cmdStart, BS_DEFPUSHBUTTON);
    binder().AddButton(view_.cmdCancel, id::cmdCancel);
    binder().AddLabel(view_.lblStatus, id::lblStatus, SS_LEFT | SS_NOPREFIX);
    binder().AddReaderName("Test progress", monitor::RpmView::ProgressBounds());
    progress_ = binder().AddProgressBar(monitor::RpmView::ProgressBounds(), id::prgProgress);
    binder().AddLabel(view_.lblResult, id::lblResult, SS_LEFT | SS_NOPREFIX);
    binder().AddButton(view_.cmdCopy, id::cmdCopy);
    binder().AddButton(view_.cmdClose, id::cmdClose);
    return true;
}

void RpmWindow::OnDpiChanged(int dpi, RECT& /*suggested*/) {
    RescaleControls(font_, dpi);
}

void RpmWindow::ShowProgress(int percent) {
    SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void RpmWindow::CopyText(const std::string& text) {
    SetClipboardText(hwnd(), text);
}

monitor::NetworkCost RpmWindow::Cost() {
    return QueryNetworkCost();
}

// Posted, so that the window does not go away inside the click that asked for it.
void RpmWindow::Close() {
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

// However the window goes (Close, the title bar, Esc), a test under way goes with it.
void RpmWindow::OnDestroyed() {
    if (view_.Running()) {
        tester_.Cancel();
    }
    std::function<void()> on_closed = std::move(on_closed_);
    delete this;
    if (on_closed) {
        on_closed();
    }
}

}  // namespace zv::win32
