#include "win32/zorvane/tip_window.h"

#include "win32/zorvane/tip_window_ids.h"
#include "win32/zorvane/toolbar_images.h"

namespace zv::win32 {
namespace {

// Layout in twips.
constexpr int kClientWidth = 6420;
constexpr int kClientHeight = 3480;
constexpr ui::Bounds kPanel{120, 120, 4740, 2760};
constexpr ui::Bounds kPicture{240, 300, 480, 480};
constexpr ui::Bounds kHeading{900, 300, 3800, 360};
constexpr ui::Bounds kTipText{900, 780, 3800, 1980};
constexpr ui::Bounds kOk{5040, 120, 1260, 375};
constexpr ui::Bounds kNextTip{5040, 600, 1260, 375};
constexpr ui::Bounds kCheckBox{120, 3030, 3600, 315};

}  // namespace

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
    HWND shown = window->hwnd();
    ShowWindow(shown, SW_SHOWNORMAL);
    SetForegroundWindow(shown);
    return shown;
}

TipWindow::TipWindow(const TipServices& services, bool modeless)
    : dialog_(services.files, services.option, services.random, services.program_dir),
      modeless_(modeless) {}

TipWindow::~TipWindow() {
    if (panel_brush_ != nullptr) {
        DeleteObject(panel_brush_);
    }
}

bool TipWindow::Build(HWND owner) {
    constexpr int kHeadingPoints = 12;
    if (!MakeWindow(frm_tip::kClassName, dialog_.frmTip, kClientWidth, kClientHeight, owner,
                    kHeadingPoints)) {
        return false;
    }
    panel_brush_ = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    dialog_.Label1.SetBounds(kHeading);
    dialog_.lblTipText.SetBounds(kTipText);
    dialog_.cmdOK.SetBounds(kOk);
    dialog_.cmdNextTip.SetBounds(kNextTip);
    dialog_.chkLoadTipsAtStartup.SetBounds(kCheckBox);
    AddHeading(dialog_.Label1, frm_tip::Label1);
    binder().AddLabel(dialog_.lblTipText, frm_tip::lblTipText, SS_LEFT | SS_NOPREFIX);
    AddOkButton(dialog_.cmdOK, frm_tip::cmdOK);
    binder().AddButton(dialog_.cmdNextTip, frm_tip::cmdNextTip);
    binder().AddCheckBox(dialog_.chkLoadTipsAtStartup, frm_tip::chkLoadTipsAtStartup);
    dialog_.Load();
    return true;
}

void TipWindow::Paint(HDC dc) {
    RECT panel = binder().TwipsToRect(kPanel);
    FillRect(dc, &panel, panel_brush_);
    DrawEdge(dc, &panel, EDGE_SUNKEN, BF_RECT);
    RECT picture = binder().TwipsToRect(kPicture);
    DrawToolbarImage(dc, main_window::main_menu::ToolbarPicture::Tip, picture.left, picture.top,
                     picture.right - picture.left);
}

// The heading and the tip stand on the white panel.
LRESULT TipWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CTLCOLORSTATIC: {
            int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
            if (id == frm_tip::Label1 || id == frm_tip::lblTipText) {
                SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOW));
                SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOWTEXT));
                return reinterpret_cast<LRESULT>(panel_brush_);
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
