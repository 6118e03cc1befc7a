#include "win32/zorvane/toolbar_images.h"

#include <initializer_list>
#include <iterator>
#include <vector>

#include "win32/ui/system_colours.h"

namespace zv::win32 {

using Picture = main_window::main_menu::ToolbarPicture;

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr COLORREF kOutline = RGB(48, 48, 48);

// A point on the 16-unit grid.
struct Pt {
    double x;
    double y;
};

// Draws on a 16-unit grid scaled to the picture's size, so one drawing serves every DPI, with
// each colour as the scheme has it.
class Canvas {
  public:
    Canvas(HDC dc, int left, int top, int size, ui::Scheme scheme)
        : dc_(dc), left_(left), top_(top), size_(size), scheme_(scheme) {}

    int X(double units) const { return left_ + static_cast<int>(units * size_ / 16.0 + 0.5); }
    int Y(double units) const { return top_ + static_cast<int>(units * size_ / 16.0 + 0.5); }
    int Width(double units) const {
        int w = static_cast<int>(units * size_ / 16.0 + 0.5);
        return w < 1 ? 1 : w;
    }

    void Rect(double l, double t, double r, double b, COLORREF fill, COLORREF line = kOutline) {
        Use(fill, line, 1);
        Rectangle(dc_, X(l), Y(t), X(r), Y(b));
    }
    void Oval(double l, double t, double r, double b, COLORREF fill, COLORREF line = kOutline) {
        Use(fill, line, 1);
        Ellipse(dc_, X(l), Y(t), X(r), Y(b));
    }
    void Shape(std::initializer_list<Pt> units, COLORREF fill, COLORREF line = kOutline) {
        std::vector<POINT> points;
        for (Pt p : units) {
            points.push_back({X(p.x), Y(p.y)});
        }
        Use(fill, line, 1);
        Polygon(dc_, points.data(), static_cast<int>(points.size()));
    }
    void Line(std::initializer_list<Pt> units, COLORREF color, double width = 1) {
        std::vector<POINT> points;
        for (Pt p : units) {
            points.push_back({X(p.x), Y(p.y)});
        }
        Use(kTransparent, color, width);
        Polyline(dc_, points.data(), static_cast<int>(points.size()));
    }
    // An arc of the ellipse in the box, counter-clockwise from the start to the end point.
    void Curve(double l, double t, double r, double b, Pt from, Pt to, COLORREF color,
               double width) {
        Use(kTransparent, color, width);
        Arc(dc_, X(l), Y(t), X(r), Y(b), X(from.x), Y(from.y), X(to.x), Y(to.y));
    }

    // Bold text centred in the box; unsmoothed in the system's colours, as smoothing would
    // blend colours of its own.
    void Text(const char* text, double l, double t, double r, double b, COLORREF color) {
        DWORD quality = scheme_ == ui::Scheme::System ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
        HFONT font = CreateFontA(-Width(b - t - 2), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                 ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality,
                                 DEFAULT_PITCH | FF_SWISS, "Arial");
        HGDIOBJ old = SelectObject(dc_, font);
        int old_mode = SetBkMode(dc_, TRANSPARENT);
        COLORREF old_color = SetTextColor(dc_, Fill(color));
        RECT box{X(l), Y(t), X(r), Y(b)};
        DrawTextA(dc_, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SetTextColor(dc_, old_color);
        SetBkMode(dc_, old_mode);
        SelectObject(dc_, old);
        DeleteObject(font);
    }

    ~Canvas() { Release(); }

  private:
    COLORREF Stroke(COLORREF drawn) const {
        return SchemeColour(scheme_, ui::PictureRole(drawn, true), drawn);
    }
    COLORREF Fill(COLORREF drawn) const {
        return SchemeColour(scheme_, ui::PictureRole(drawn, false), drawn);
    }
    void Use(COLORREF fill, COLORREF line, double width) {
        Release();
        pen_ = CreatePen(PS_SOLID, Width(width), Stroke(line));
        brush_ = fill == kTransparent ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                      : CreateSolidBrush(Fill(fill));
        old_pen_ = SelectObject(dc_, pen_);
        old_brush_ = SelectObject(dc_, brush_);
    }
    void Release() {
        if (pen_ != nullptr) {
            SelectObject(dc_, old_pen_);
            SelectObject(dc_, old_brush_);
            DeleteObject(pen_);
            DeleteObject(brush_);  // stock objects ignore the call
            pen_ = nullptr;
        }
    }

    HDC dc_;
    int left_, top_, size_;
    ui::Scheme scheme_;
    HPEN pen_ = nullptr;
    HBRUSH brush_ = nullptr;
    HGDIOBJ old_pen_ = nullptr;
    HGDIOBJ old_brush_ = nullptr;
};

void DrawMonitor(Canvas& c, double l, double t, double r, double b) {
    c.Rect(l, t, r, b, RGB(220, 220, 220));
    c.Rect(l + 1, t + 1, r - 1, b - 1.5, RGB(40, 110, 200), RGB(30, 60, 120));
}

void DrawNetwork(Canvas& c) {
    c.Line({{4, 8}, {4, 12}, {12, 12}, {12, 9}}, RGB(90, 90, 90), 1.2);
    DrawMonitor(c, 0.5, 1, 8, 7);
    DrawMonitor(c, 8, 3, 15.5, 9);
    c.Rect(2, 12, 6, 14.5, RGB(200, 200, 200));
    c.Rect(10, 12, 14, 14.5, RGB(200, 200, 200));
}

void DrawModem(Canvas& c) {
    c.Line({{3, 7}, {3, 3}, {6, 1.5}}, RGB(60, 60, 60), 1.2);
    c.Shape({{1, 8}, {15, 8}, {14, 13}, {2, 13}}, RGB(190, 190, 200));
    c.Rect(1.5, 12.5, 14.5, 14.5, RGB(120, 120, 130));
    c.Oval(3.5, 9.5, 5.5, 11.5, RGB(40, 200, 60), RGB(20, 120, 30));
    c.Oval(7, 9.5, 9, 11.5, RGB(40, 200, 60), RGB(20, 120, 30));
    c.Oval(10.5, 9.5, 12.5, 11.5, RGB(250, 180, 40), RGB(150, 100, 20));
}

void DrawSystem(Canvas& c) {
    DrawMonitor(c, 1, 1, 15, 11);
    c.Line({{5, 7}, {7, 5}, {9, 7}, {11, 4}}, RGB(255, 255, 255), 1);
    c.Rect(6, 11, 10, 12.5, RGB(160, 160, 160));
    c.Rect(3, 12.5, 13, 15, RGB(210, 210, 210));
}

void DrawBackup(Canvas& c) {
    c.Shape({{1, 1}, {13, 1}, {15, 3}, {15, 15}, {1, 15}}, RGB(50, 90, 180), RGB(20, 40, 100));
    c.Rect(4, 1, 11, 6, RGB(200, 205, 215), RGB(90, 90, 110));
    c.Rect(8.5, 2, 10, 5, RGB(50, 90, 180), RGB(50, 90, 180));
    c.Rect(3, 9, 13, 15, RGB(255, 255, 255), RGB(150, 150, 150));
    c.Line({{4.5, 11}, {11.5, 11}}, RGB(180, 60, 60), 1);
    c.Line({{4.5, 13}, {10, 13}}, RGB(140, 140, 140), 1);
}

void DrawPing(Canvas& c) {
    COLORREF wave = RGB(30, 150, 60);
    c.Oval(1, 11, 5, 15, RGB(30, 170, 70), RGB(20, 100, 40));
    c.Curve(-3, 7, 9, 19, {9, 13}, {3, 7}, wave, 1.6);
    c.Curve(-7, 3, 13, 23, {13, 13}, {3, 3}, wave, 1.6);
    c.Curve(-11, -1, 17, 27, {17, 13}, {3, -1}, wave, 1.6);
}

void DrawInternet(Canvas& c) {
    COLORREF meridian = RGB(230, 240, 255);
    c.Oval(1, 1, 15, 15, RGB(40, 120, 210), RGB(20, 60, 130));
    c.Shape({{4, 4}, {8, 3}, {9, 6}, {6, 8}, {7, 11}, {4, 9}}, RGB(70, 170, 70), RGB(40, 110, 40));
    c.Shape({{10, 8}, {13, 7}, {13, 11}, {10, 13}}, RGB(70, 170, 70), RGB(40, 110, 40));
    c.Oval(5, 1.5, 11, 14.5, kTransparent, meridian);
    c.Line({{1.5, 8}, {14.5, 8}}, meridian, 0.8);
}

void DrawHelp(Canvas& c) {
    c.Oval(1, 1, 15, 15, RGB(40, 110, 200), RGB(20, 60, 130));
    c.Text("?", 1, 1, 15, 15, RGB(255, 255, 255));
}

void DrawTip(Canvas& c) {
    c.Oval(3, 0.5, 13, 10.5, RGB(255, 225, 70), RGB(160, 120, 20));
    c.Shape({{5.5, 9}, {10.5, 9}, {10, 11.5}, {6, 11.5}}, RGB(255, 225, 70), RGB(160, 120, 20));
    c.Rect(5.5, 11.5, 10.5, 14, RGB(170, 170, 170), RGB(90, 90, 90));
    c.Line({{6, 12.8}, {10, 12.8}}, RGB(90, 90, 90), 0.6);
    c.Rect(7, 14, 9, 15.5, RGB(90, 90, 90), RGB(90, 90, 90));
    c.Curve(5, 2.5, 11, 8.5, {6, 4}, {5, 6.5}, RGB(255, 250, 220), 1.2);
}

void DrawRestore(Canvas& c) {
    COLORREF arrow = RGB(210, 100, 20);
    // Nearly a full turn backwards, the arrowhead at the upper left.
    c.Curve(2, 2, 14, 14, {3, 13}, {3, 3}, arrow, 2.2);
    c.Shape({{0.5, 1.5}, {6, 6}, {0.5, 7}}, arrow, RGB(150, 60, 10));
}

void DrawApply(Canvas& c) {
    c.Shape({{1, 8}, {4, 5.5}, {6.5, 8.5}, {13, 2}, {15.5, 4.5}, {6.5, 14}}, RGB(40, 170, 60),
            RGB(20, 100, 30));
}

}  // namespace

int ToolbarImageSize(int dpi) {
    int size = MulDiv(16, dpi, 96);
    return size < 16 ? 16 : size;
}

// In the order of the pictures' numbers, from 1.
constexpr void (*kDrawings[])(Canvas&) = {DrawNetwork, DrawModem,    DrawSystem, DrawBackup,
                                          DrawPing,    DrawInternet, DrawHelp,   DrawTip,
                                          DrawRestore, DrawApply};
static_assert(std::size(kDrawings) ==
                  static_cast<size_t>(main_window::main_menu::kToolbarPictureCount),
              "one drawing per toolbar picture");

void DrawToolbarImage(HDC dc, Picture picture, int left, int top, int size, ui::Scheme scheme) {
    const size_t index = static_cast<size_t>(picture) - 1;
    if (picture == Picture::None || index >= std::size(kDrawings)) {
        return;
    }
    Canvas c(dc, left, top, size, scheme);
    kDrawings[index](c);
}

HIMAGELIST CreateToolbarImages(int size, ui::Scheme scheme) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP strip =
        CreateCompatibleBitmap(screen, size * main_window::main_menu::kToolbarPictureCount, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, strip);
    RECT all{0, 0, size * main_window::main_menu::kToolbarPictureCount, size};
    HBRUSH background = CreateSolidBrush(kTransparent);
    FillRect(dc, &all, background);
    DeleteObject(background);
    for (int image = 1; image <= main_window::main_menu::kToolbarPictureCount; ++image) {
        // Clipped, so that no picture spills into its neighbour.
        HRGN clip = CreateRectRgn((image - 1) * size, 0, image * size, size);
        SelectClipRgn(dc, clip);
        DrawToolbarImage(dc, static_cast<Picture>(image), (image - 1) * size, 0, size, scheme);
        SelectClipRgn(dc, nullptr);
        DeleteObject(clip);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK,
                                       main_window::main_menu::kToolbarPictureCount, 0);
    ImageList_AddMasked(list, strip, kTransparent);
    DeleteObject(strip);
    return list;
}

}  // namespace zv::win32
