#include "win32/vigilo/history_graph_paint.h"

#include "monitor/link_words.h"
#include "win32/ui/system_colours.h"

namespace zv::win32 {
namespace {

using ui::Role;

// Selects an object into a device context for a scope and deletes it afterwards.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
    ~Selected() {
        SelectObject(dc_, old_);
        DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
};

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    RECT box{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
}

// An outage's band tells where it lay by its colour and by its hatch, in the order of Where.
struct PlaceLook {
    Role colour;
    int hatch;
};
constexpr PlaceLook kPlaceLooks[monitor::kPlaces] = {
    {Role::DownBand, HS_CROSS},
    {Role::YourNetworkBand, HS_BDIAGONAL},
    {Role::YourProviderBand, HS_FDIAGONAL},
    {Role::BeyondProviderBand, HS_DIAGCROSS},
};

void FillOutage(HDC dc, const RECT& box, monitor::Where where, ui::Scheme scheme) {
    const PlaceLook& look = kPlaceLooks[static_cast<int>(where)];
    HBRUSH hatch = CreateHatchBrush(look.hatch, SchemeColour(scheme, Role::BandHatch));
    int old_mode = SetBkMode(dc, OPAQUE);
    COLORREF old_colour = SetBkColor(dc, SchemeColour(scheme, look.colour));
    FillRect(dc, &box, hatch);
    SetBkColor(dc, old_colour);
    SetBkMode(dc, old_mode);
    DeleteObject(hatch);
}

// A lost probe's column, and a cross at the top of the plot that tells it without colour.
void DrawLoss(HDC dc, int x, int plot_h, int line, COLORREF colour) {
    FillBox(dc, 1 + x, 1, 1 + x + line, 1 + plot_h, colour);
    int arm = 2 * line;
    int centre_x = 1 + x + line / 2;
    int centre_y = 1 + arm + line;
    Selected pen(dc, CreatePen(PS_SOLID, line, colour));
    MoveToEx(dc, centre_x - arm, centre_y - arm, nullptr);
    LineTo(dc, centre_x + arm + 1, centre_y + arm + 1);
    MoveToEx(dc, centre_x - arm, centre_y + arm, nullptr);
    LineTo(dc, centre_x + arm + 1, centre_y - arm - 1);
}

void DrawRoundTrips(HDC dc, const GraphPicture& picture, int line) {
    const monitor::GraphScene& scene = picture.scene;
    // Where a column holds many probes, the spread of their round trips, behind its point.
    {
        Selected pen(dc, CreatePen(PS_SOLID, 1, SchemeColour(picture.scheme, Role::Spread)));
        for (const monitor::GraphRange& range : scene.ranges) {
            MoveToEx(dc, 1 + range.x, 1 + range.top, nullptr);
            LineTo(dc, 1 + range.x, 1 + range.bottom + 1);
        }
    }
    Selected pen(dc, CreatePen(PS_SOLID, line + 1, SchemeColour(picture.scheme, Role::RoundTrip)));
    for (const auto& run : scene.lines) {
        MoveToEx(dc, 1 + run.front().x, 1 + run.front().y, nullptr);
        for (const monitor::GraphPoint& point : run) {
            LineTo(dc, 1 + point.x, 1 + point.y);
        }
        // A lone answer between losses still shows as a short dash.
        if (run.size() == 1) {
            LineTo(dc, 1 + run.front().x + 2 * line, 1 + run.front().y);
        }
    }
}

// The outages' looks and their places, centred at the top of the plot, so that a user can
// read where each outage lay: away from the right edge, where the newest outage shows.
void DrawLegend(HDC dc, int width, int top, ui::Scheme scheme) {
    SIZE text{};
    GetTextExtentPoint32A(dc, "M", 1, &text);
    int box = text.cy * 2 / 3;
    int gap = box / 2;
    std::string names[monitor::kPlaces];
    int total = 0;
    for (int place = 1; place < monitor::kPlaces; ++place) {
        names[place] = monitor::WhereText(static_cast<monitor::Where>(place));
        GetTextExtentPoint32A(dc, names[place].c_str(), static_cast<int>(names[place].size()),
                              &text);
        total += box + gap + text.cx + 2 * box;
    }
    int x = (width - total) / 2;
    for (int place = 1; place < monitor::kPlaces; ++place) {
        RECT sample{x, top + (text.cy - box) / 2, x + box, top + (text.cy + box) / 2};
        FillOutage(dc, sample, static_cast<monitor::Where>(place), scheme);
        x += box + gap;
        int length = static_cast<int>(names[place].size());
        TextOutA(dc, x, top, names[place].c_str(), length);
        GetTextExtentPoint32A(dc, names[place].c_str(), length, &text);
        x += text.cx + 2 * box;
    }
}

void DrawTexts(HDC dc, int width, int height, const GraphPicture& picture, int line) {
    HGDIOBJ old_font = SelectObject(dc, picture.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SchemeColour(picture.scheme, Role::Text));
    int pad = 3 * line;
    RECT text{pad, pad, width - pad, height - pad};
    const UINT kFlags = DT_SINGLELINE | DT_NOPREFIX;
    int axis = picture.scene.axis_max_ms;
    std::string top = axis > 0 ? std::to_string(axis) + " ms" : "";
    DrawTextA(dc, top.c_str(), -1, &text, DT_LEFT | DT_TOP | kFlags);
    DrawTextA(dc, picture.from_text.c_str(), -1, &text, DT_LEFT | DT_BOTTOM | kFlags);
    DrawTextA(dc, picture.hint_text.c_str(), -1, &text, DT_CENTER | DT_BOTTOM | kFlags);
    DrawTextA(dc, picture.to_text.c_str(), -1, &text, DT_RIGHT | DT_BOTTOM | kFlags);
    DrawLegend(dc, width, pad, picture.scheme);
    SelectObject(dc, old_font);
}

}  // namespace

// Bands for the up and down periods (a gap, when nothing was probed, stays blank), grid
// lines at each quarter of the scale, the round trips, the loss marks, then the texts.
void PaintGraphPicture(HDC dc, int width, int height, const GraphPicture& picture) {
    const monitor::GraphScene& scene = picture.scene;
    const ui::Scheme scheme = picture.scheme;
    FillBox(dc, 0, 0, width, height, SchemeColour(scheme, Role::Background));
    int plot_w = width - 2;
    int plot_h = height - 2;
    for (const monitor::GraphBand& band : scene.bands) {
        RECT box{1 + band.left, 1, 1 + band.right + 1, 1 + plot_h};
        if (band.up) {
            FillBox(dc, box.left, box.top, box.right, box.bottom,
                    SchemeColour(scheme, Role::UpBand));
        } else {
            FillOutage(dc, box, band.where, scheme);
        }
    }
    int line = MulDiv(1, picture.dpi, 96);
    {
        Selected pen(dc, CreatePen(PS_SOLID, line, SchemeColour(scheme, Role::Grid)));
        for (int quarter = 1; quarter < 4; ++quarter) {
            int y = 1 + plot_h * quarter / 4;
            MoveToEx(dc, 1, y, nullptr);
            LineTo(dc, 1 + plot_w, y);
        }
    }
    DrawRoundTrips(dc, picture, line);
    for (int x : scene.loss_x) {
        DrawLoss(dc, x, plot_h, line, SchemeColour(scheme, Role::Loss));
    }
    RECT frame{0, 0, width, height};
    HBRUSH frame_brush = CreateSolidBrush(SchemeColour(scheme, Role::Frame));
    FrameRect(dc, &frame, frame_brush);
    DeleteObject(frame_brush);
    DrawTexts(dc, width, height, picture, line);
    if (picture.select_right > picture.select_left) {
        PatBlt(dc, 1 + picture.select_left, 1, picture.select_right - picture.select_left + 1,
               plot_h, DSTINVERT);
    }
}

}  // namespace zv::win32
