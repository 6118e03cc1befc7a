#include "win32/zorvane/display_window.h"

#include "win32/ui/layout.h"
#include "win32/zorvane/display_window_ids.h"

namespace zv::win32 {
namespace {

// Layout in twips.
constexpr int kClientWidth = 6300;
constexpr int kClientHeight = 2760;
constexpr ui::Bounds kPicture{240, 240, 480, 480};
constexpr ui::Bounds kHeading{960, 240, 5100, 300};
constexpr ui::Bounds kExplanation{960, 660, 5100, 1380};
constexpr ui::Bounds kOk{4860, 2220, 1200, 375};

}  // namespace

void DisplayWindow::ShowModal(HWND owner, const std::string& net_type_text) {
    DisplayWindow window;
    if (window.Build(owner, net_type_text)) {
        window.RunModal(owner);
    }
}

DisplayWindow::~DisplayWindow() {
    binder_.reset();
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    if (heading_font_ != nullptr) {
        DeleteObject(heading_font_);
    }
}

bool DisplayWindow::Build(HWND owner, const std::string& net_type_text) {
    dpi_ = ScreenDpi();
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    if (!Create(frm_display::kClassName, dialog_.frmDisplay.caption().c_str(), style,
                WS_EX_DLGMODALFRAME, TwipsToPixels(kClientWidth, dpi_),
                TwipsToPixels(kClientHeight, dpi_), owner)) {
        return false;
    }
    font_ = CreateMessageFont();
    LOGFONTA bold{};
    GetObjectA(font_, sizeof(bold), &bold);
    bold.lfWeight = FW_BOLD;
    heading_font_ = CreateFontIndirectA(&bold);

    binder_ = std::make_unique<Binder>(hwnd(), font_, dpi_);
    dialog_.Label1.SetBounds(kHeading);
    dialog_.Label2.SetBounds(kExplanation);
    dialog_.cmdOK.SetBounds(kOk);
    dialog_.cmdOK.on_click = [this] { DestroyWindow(hwnd()); };
    binder_->BindWindow(dialog_.frmDisplay);
    HWND heading = binder_->AddLabel(dialog_.Label1, frm_display::Label1, SS_LEFT | SS_NOPREFIX);
    SendMessageA(heading, WM_SETFONT, reinterpret_cast<WPARAM>(heading_font_), FALSE);
    binder_->AddLabel(dialog_.Label2, frm_display::Label2, SS_LEFT | SS_NOPREFIX);
    binder_->AddButton(dialog_.cmdOK, frm_display::cmdOK, BS_DEFPUSHBUTTON);
    dialog_.Load(net_type_text);
    return true;
}

void DisplayWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    RECT picture = binder_->TwipsToRect(kPicture);
    HICON icon = LoadIcon(nullptr, IDI_INFORMATION);
    DrawIconEx(dc, picture.left, picture.top, icon, picture.right - picture.left,
               picture.bottom - picture.top, 0, nullptr, DI_NORMAL);
    EndPaint(hwnd(), &paint);
}

LRESULT DisplayWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
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

}  // namespace zv::win32
