#include "win32/vigilo/tray_pictures.h"

#include "monitor/vigilo_view.h"
#include "ui/palette.h"

namespace zv::win32 {
namespace {

// Draws on a 16-unit grid scaled to the icon's size. The mask pass draws every shape in
// black on white, so that the icon is opaque exactly where the picture is.
class TrayCanvas {
  public:
    TrayCanvas(HDC dc, int size, bool mask) : dc_(dc), size_(size), mask_(mask) {}

    void Oval(double l, double t, double r, double b, ui::SystemColour fill) {
        HBRUSH brush = CreateSolidBrush(Colour(fill));
        HPEN pen = CreatePen(PS_SOLID, Scaled(1), Colour(ui::SystemColour::WindowText));
        HGDIOBJ old_brush = SelectObject(dc_, brush);
        HGDIOBJ old_pen = SelectObject(dc_, pen);
        Ellipse(dc_, Scaled(l), Scaled(t), Scaled(r), Scaled(b));
        SelectObject(dc_, old_pen);
        SelectObject(dc_, old_brush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
    void Cross(double l, double t, double r, double b) {
        HPEN pen = CreatePen(PS_SOLID, Scaled(2.5), Colour(ui::SystemColour::WindowText));
        HGDIOBJ old_pen = SelectObject(dc_, pen);
        MoveToEx(dc_, Scaled(l), Scaled(t), nullptr);
        LineTo(dc_, Scaled(r), Scaled(b));
        MoveToEx(dc_, Scaled(l), Scaled(b), nullptr);
        LineTo(dc_, Scaled(r), Scaled(t));
        SelectObject(dc_, old_pen);
        DeleteObject(pen);
    }

  private:
    int Scaled(double units) const {
        int pixels = static_cast<int>(units * size_ / 16.0 + 0.5);
        return pixels < 1 ? 1 : pixels;
    }
    COLORREF Colour(ui::SystemColour colour) const {
        return mask_ ? RGB(0, 0, 0) : GetSysColor(static_cast<int>(colour));
    }

    HDC dc_;
    int size_;
    bool mask_;
};

// Where the dot stands in each frame, going round clockwise from the upper left: inside the
// globe, as is the cross, so that every picture covers the same pixels and a tray that
// draws a new picture over the old one without erasing leaves nothing of it.
constexpr double kDotCorners[monitor::kAnimationFrames][2] = {
    {3.5, 3.5}, {8.5, 3.5}, {8.5, 8.5}, {3.5, 8.5}};

void DrawPicture(TrayCanvas& canvas, int image) {
    using S = ui::SystemColour;
    if (image == monitor::kNotConnectedImage) {
        canvas.Oval(1, 1, 15, 15, S::GrayText);
        canvas.Cross(4.5, 4.5, 11.5, 11.5);
        return;
    }
    canvas.Oval(1, 1, 15, 15, S::Highlight);
    const double* dot = kDotCorners[image - 1];
    canvas.Oval(dot[0], dot[1], dot[0] + 4, dot[1] + 4, S::Window);
}

// One bitmap of the picture: in colour on black, or its mask.
HBITMAP DrawBitmap(HDC screen, int size, int image, bool mask) {
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap =
        mask ? CreateBitmap(size, size, 1, 1, nullptr) : CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(mask ? WHITE_BRUSH : BLACK_BRUSH)));
    TrayCanvas canvas(dc, size, mask);
    DrawPicture(canvas, image);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

}  // namespace

std::vector<HICON> DrawTrayPictures(int size) {
    std::vector<HICON> icons;
    HDC screen = GetDC(nullptr);
    for (int image = 1; image <= monitor::kNotConnectedImage; ++image) {
        ICONINFO info{};
        info.fIcon = TRUE;
        info.hbmColor = DrawBitmap(screen, size, image, false);
        info.hbmMask = DrawBitmap(screen, size, image, true);
        icons.push_back(CreateIconIndirect(&info));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    ReleaseDC(nullptr, screen);
    return icons;
}

}  // namespace zv::win32
