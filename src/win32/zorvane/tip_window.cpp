#include "win32/zorvane/tip_window.h"

#include "win32/ui/system_colours.h"
#include "win32/zorvane/colour_option.h"
#include "win32/zorvane/toolbar_images.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::win32 {

void TipWindow::ShowModal(HWND owner, const TipServices& services) {
    TipWindow window(services, false);
    if (window.Build(owner)) {
        window.RunModal(owner);
    }
}

HWND TipWindow::ShowModeless(const TipServices& services) {
    auto* window = new TipWindow(services, true);
    if (!window->Build(nullptr)) {
        delete window;
        return nullptr;
    }
    window->ShowInFront();
    return window->hwnd();
}

TipWindow::TipWindow(const TipServices& services, bool modeless)
    : dialog_(services.files, services.option, services.random, services.program_dir),
      modeless_(modeless) {}

bool TipWindow::Build(HWND owner) {
    constexpr DialogShape kShape{frm_tip::kClassName, main_window::TipView::kWidth,
                                 main_window::TipView::kHeight, 12};
    if (!MakeWindow(kShape, dialog_.frmTip, owner)) {
        return false;
    }
    AddHeading(dialog_.heading_label, frm_tip::heading_label);
    binder().AddLabel(dialog_.lblTipText, frm_tip::lblTipText, SS_LEFT | SS_NOPREFIX);
    AddOkButton(dialog_.cmdOK, frm_tip::cmdOK);
    binder().AddButton(dialog_.cmdNextTip, frm_tip::cmdNextTip);
    binder().AddCheckBox(dialog_.chkLoadTipsAtStartup, frm_tip::chkLoadTipsAtStartup);
    dialog_.Load();
    return true;
}

void TipWindow::Paint(HDC dc) {
    RECT panel = binder().TwipsToRect(dialog_.kPanel);
    FillRect(dc, &panel, GetSysColorBrush(COLOR_WINDOW));
    DrawEdge(dc, &panel, EDGE_SUNKEN, BF_RECT);
    RECT picture = binder().TwipsToRect(dialog_.kPicture);
    DrawToolbarImage(dc, main_window::main_menu::ToolbarPicture::Tip, picture.left, picture.top,
                     picture.right - picture.left, ZorvaneScheme());
}

// The heading and the tip stand on the white panel.
LRESULT TipWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (ColoursMayHaveChanged(message)) {
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
    switch (message) {
        case WM_CTLCOLORSTATIC: {
            int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
            if (id == frm_tip::heading_label || id == frm_tip::lblTipText) {
                SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOW));
                SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOWTEXT));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            break;
        }
        default:
            break;
    }
    return SmallDialog::HandleMessage(message, wparam, lparam);
}

void TipWindow::OnDestroyed() {
    if (modeless_) {
        delete this;
    }
}

}  // namespace zv::win32
