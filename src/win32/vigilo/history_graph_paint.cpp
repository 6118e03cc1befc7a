#include "win32/vigilo/history_graph_paint.h"

#include "monitor/link_words.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::win32 {
namespace {

namespace id = frm_history;

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kGridColor = RGB(210, 210, 210);
constexpr COLORREF kTextColor = RGB(90, 90, 90);

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

// An outage's colour tells where it lay.
COLORREF DownColor(monitor::Where where) {
    static const COLORREF kColors[monitor::kPlaces] = {
        id::kDownColor, id::kYourNetworkColor, id::kYourProviderColor, id::kBeyondProviderColor};
    return kColors[static_cast<int>(where)];
}

void DrawRoundTrips(HDC dc, const monitor::GraphScene& scene, int line) {
    // Where a column holds many probes, the spread of their round trips, behind its point.
    {
        Selected pen(dc, CreatePen(PS_SOLID, 1, id::kRangeColor));
        for (const monitor::GraphRange& range : scene.ranges) {
            MoveToEx(dc, 1 + range.x, 1 + range.top, nullptr);
            LineTo(dc, 1 + range.x, 1 + range.bottom + 1);
        }
    }
    Selected pen(dc, CreatePen(PS_SOLID, line + 1, id::kRoundTripColor));
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

// The outage colours and their places, centred at the top of the plot, so that a user can
// read where each outage lay: away from the right edge, where the newest outage shows.
void DrawLegend(HDC dc, int width, int top) {
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
        FillBox(dc, x, top + (text.cy - box) / 2, x + box, top + (text.cy + box) / 2,
                DownColor(static_cast<monitor::Where>(place)));
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
    SetTextColor(dc, kTextColor);
    int pad = 3 * line;
    RECT text{pad, pad, width - pad, height - pad};
    const UINT kFlags = DT_SINGLELINE | DT_NOPREFIX;
    int axis = picture.scene.axis_max_ms;
    std::string top = axis > 0 ? std::to_string(axis) + " ms" : "";
    DrawTextA(dc, top.c_str(), -1, &text, DT_LEFT | DT_TOP | kFlags);
    DrawTextA(dc, picture.from_text.c_str(), -1, &text, DT_LEFT | DT_BOTTOM | kFlags);
    DrawTextA(dc, picture.hint_text.c_str(), -1, &text, DT_CENTER | DT_BOTTOM | kFlags);
    DrawTextA(dc, picture.to_text.c_str(), -1, &text, DT_RIGHT | DT_BOTTOM | kFlags);
    DrawLegend(dc, width, pad);
    SelectObject(dc, old_font);
}

}  // namespace

// Bands for the up and down periods (a gap, when nothing was probed, stays blank), grid
// lines at each quarter of the scale, the round trips, the loss marks, then the texts.
void PaintGraphPicture(HDC dc, int width, int height, const GraphPicture& picture) {
    const monitor::GraphScene& scene = picture.scene;
    FillBox(dc, 0, 0, width, height, kBackground);
    int plot_w = width - 2;
    int plot_h = height - 2;
    for (const monitor::GraphBand& band : scene.bands) {
        FillBox(dc, 1 + band.left, 1, 1 + band.right + 1, 1 + plot_h,
                band.up ? id::kUpColor : DownColor(band.where));
    }
    int line = MulDiv(1, picture.dpi, 96);
    {
        Selected pen(dc, CreatePen(PS_SOLID, line, kGridColor));
        for (int quarter = 1; quarter < 4; ++quarter) {
            int y = 1 + plot_h * quarter / 4;
            MoveToEx(dc, 1, y, nullptr);
            LineTo(dc, 1 + plot_w, y);
        }
    }
    DrawRoundTrips(dc, scene, line);
    for (int x : scene.loss_x) {
        FillBox(dc, 1 + x, 1, 1 + x + line, 1 + plot_h, id::kLossColor);
    }
    RECT frame{0, 0, width, height};
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
    DrawTexts(dc, width, height, picture, line);
    if (picture.select_right > picture.select_left) {
        PatBlt(dc, 1 + picture.select_left, 1, picture.select_right - picture.select_left + 1,
               plot_h, DSTINVERT);
    }
}

}  // namespace zv::win32
