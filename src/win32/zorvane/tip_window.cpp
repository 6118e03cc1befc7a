#include "win32/zorvane/tip_window.h"

#include "win32/ui/layout.h"
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

HFONT CreateHeadingFont(HFONT base, int dpi) {
    LOGFONTA font{};
    GetObjectA(base, sizeof(font), &font);
    font.lfWeight = FW_BOLD;
    font.lfHeight = -MulDiv(12, dpi, 72);
    return CreateFontIndirectA(&font);
}

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
    binder_.reset();
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    if (heading_font_ != nullptr) {
        DeleteObject(heading_font_);
    }
    if (panel_brush_ != nullptr) {
        DeleteObject(panel_brush_);
    }
}

bool TipWindow::Build(HWND owner) {
    dpi_ = ScreenDpi();
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    if (!Create(frm_tip::kClassName, dialog_.frmTip.caption().c_str(), style, WS_EX_DLGMODALFRAME,
                TwipsToPixels(kClientWidth, dpi_), TwipsToPixels(kClientHeight, dpi_), owner)) {
        return false;
    }
    font_ = CreateMessageFont();
    heading_font_ = CreateHeadingFont(font_, dpi_);
    panel_brush_ = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    Layout();
    dialog_.cmdOK.on_click = [this] { DestroyWindow(hwnd()); };
    dialog_.Load();
    return true;
}

void TipWindow::Layout() {
    binder_ = std::make_unique<Binder>(hwnd(), font_, dpi_);
    dialog_.Label1.SetBounds(kHeading);
    dialog_.lblTipText.SetBounds(kTipText);
    dialog_.cmdOK.SetBounds(kOk);
    dialog_.cmdNextTip.SetBounds(kNextTip);
    dialog_.chkLoadTipsAtStartup.SetBounds(kCheckBox);
    binder_->BindWindow(dialog_.frmTip);
    HWND heading = binder_->AddLabel(dialog_.Label1, frm_tip::Label1, SS_LEFT | SS_NOPREFIX);
    SendMessageA(heading, WM_SETFONT, reinterpret_cast<WPARAM>(heading_font_), FALSE);
    binder_->AddLabel(dialog_.lblTipText, frm_tip::lblTipText, SS_LEFT | SS_NOPREFIX);
    binder_->AddButton(dialog_.cmdOK, frm_tip::cmdOK, BS_DEFPUSHBUTTON);
    binder_->AddButton(dialog_.cmdNextTip, frm_tip::cmdNextTip);
    binder_->AddCheckBox(dialog_.chkLoadTipsAtStartup, frm_tip::chkLoadTipsAtStartup);
}

void TipWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    RECT panel = binder_->TwipsToRect(kPanel);
    FillRect(dc, &panel, panel_brush_);
    DrawEdge(dc, &panel, EDGE_SUNKEN, BF_RECT);
    RECT picture = binder_->TwipsToRect(kPicture);
    DrawToolbarImage(dc, kTipImage, picture.left, picture.top, picture.right - picture.left);
    EndPaint(hwnd(), &paint);
}

LRESULT TipWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_CTLCOLORSTATIC: {
            int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
            if (id == frm_tip::Label1 || id == frm_tip::lblTipText) {
                SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOW));
                SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOWTEXT));
                return reinterpret_cast<LRESULT>(panel_brush_);
            }
            break;
        }
        case WM_COMMAND:
            if (RouteDialogCommand(hwnd(), binder_.get(), wparam, lparam)) {
                return 0;
            }
            break;
        default:
            break;
    }
    return WindowBase::HandleMessage(message, wparam, lparam);
}

void TipWindow::OnDestroyed() {
    if (modeless_) {
        delete this;
    }
}

}  // namespace zv::win32
