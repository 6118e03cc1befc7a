#include "win32/ui/small_dialog.h"

#include "win32/ui/layout.h"

namespace zv::win32 {

SmallDialog::~SmallDialog() {
    DropBinder();
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    if (heading_font_ != nullptr) {
        DeleteObject(heading_font_);
    }
}

bool SmallDialog::MakeWindow(const DialogShape& shape, ui::Window& model, HWND owner) {
    dpi_ = WindowDpi(owner);
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    if (!Create(shape.class_name, model.caption().c_str(), style, WS_EX_DLGMODALFRAME,
                TwipsToPixels(shape.width_twips, dpi_), TwipsToPixels(shape.height_twips, dpi_),
                owner)) {
        return false;
    }
    heading_points_ = shape.heading_points;
    MakeFonts();
    MakeBinder(font_, dpi_, shape.closes_on_escape).BindWindow(model);
    return true;
}

void SmallDialog::MakeFonts() {
    font_ = CreateMessageFont(dpi_);
    LOGFONTA heading{};
    GetObjectA(font_, sizeof(heading), &heading);
    heading.lfWeight = FW_BOLD;
    if (heading_points_ > 0) {
        heading.lfHeight = -MulDiv(heading_points_, dpi_, 72);
    }
    heading_font_ = CreateFontIndirectA(&heading);
}

void SmallDialog::OnDpiChanged(int dpi, RECT& /*suggested*/) {
    dpi_ = dpi;
    HFONT old_font = font_;
    HFONT old_heading_font = heading_font_;
    MakeFonts();
    binder().Rescale(dpi, font_);
    for (HWND heading : headings_) {
        SendMessageA(heading, WM_SETFONT, reinterpret_cast<WPARAM>(heading_font_), TRUE);
    }
    DeleteObject(old_font);
    DeleteObject(old_heading_font);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

HWND SmallDialog::AddHeading(ui::Label& model, int id) {
    HWND heading = binder().AddLabel(model, id, SS_LEFT | SS_NOPREFIX);
    SendMessageA(heading, WM_SETFONT, reinterpret_cast<WPARAM>(heading_font_), FALSE);
    headings_.push_back(heading);
    return heading;
}

HWND SmallDialog::AddOkButton(ui::Button& model, int id) {
    model.on_click = [this] { DestroyWindow(hwnd()); };
    return binder().AddButton(model, id, BS_DEFPUSHBUTTON);
}

LRESULT SmallDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd(), &paint);
            Paint(dc);
            EndPaint(hwnd(), &paint);
            return 0;
        }
        default:
            break;
    }
    return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace zv::win32
