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
    dpi_ = ScreenDpi();
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    if (!Create(shape.class_name, model.caption().c_str(), style, WS_EX_DLGMODALFRAME,
                TwipsToPixels(shape.width_twips, dpi_), TwipsToPixels(shape.height_twips, dpi_),
                owner)) {
        return false;
    }
    font_ = CreateMessageFont();
    LOGFONTA heading{};
    GetObjectA(font_, sizeof(heading), &heading);
    heading.lfWeight = FW_BOLD;
    if (shape.heading_points > 0) {
        heading.lfHeight = -MulDiv(shape.heading_points, dpi_, 72);
    }
    heading_font_ = CreateFontIndirectA(&heading);
    MakeBinder(font_, dpi_, shape.closes_on_escape).BindWindow(model);
    return true;
}

HWND SmallDialog::AddHeading(ui::Label& model, int id) {
    HWND heading = binder().AddLabel(model, id, SS_LEFT | SS_NOPREFIX);
    SendMessageA(heading, WM_SETFONT, reinterpret_cast<WPARAM>(heading_font_), FALSE);
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
