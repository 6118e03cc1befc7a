#include "win32/vigilo/history_window.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "monitor/history_lines.h"
#include "monitor/link_words.h"
#include "win32/ui/layout.h"
#include "win32/ui/save_file_dialog.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::win32 {
namespace {

namespace id = frm_history;

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
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

std::string SpanText(int hours) {
    return hours == 1 ? "1 hour ago" : std::to_string(hours) + " hours ago";
}

}  // namespace

HistoryWindow* HistoryWindow::Open(monitor::LinkMonitor& monitor, ui::MessageBoxPort& messages,
                                   std::function<void()> on_closed,
                                   std::function<void()> make_report) {
    auto* window = new HistoryWindow(monitor, messages, std::move(on_closed));
    window->make_report_ = std::move(make_report);
    return ShownInFront(window, window->Build()) ? window : nullptr;
}

HistoryWindow::HistoryWindow(monitor::LinkMonitor& monitor, ui::MessageBoxPort& messages,
                             std::function<void()> on_closed)
    : view_({monitor, saved_files_, messages, *this}), on_closed_(std::move(on_closed)) {}

HistoryWindow::~HistoryWindow() {
    DropBinder();
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

bool HistoryWindow::Build() {
    dpi_ = ScreenDpi();
    if (!Create(id::kClassName, view_.frmHistory.caption().c_str(), kStyle, kExStyle,
                TwipsToPixels(monitor::kHistoryWidth, dpi_),
                TwipsToPixels(monitor::kHistoryHeight, dpi_), nullptr)) {
        return false;
    }
    font_ = CreateMessageFont();
    MakeBinder(font_, dpi_, true);
    view_.Layout(monitor::kHistoryWidth, monitor::kHistoryHeight);
    AddControls();
    view_.Load();
    return true;
}

// Created in tab order.
void HistoryWindow::AddControls() {
    binder().BindWindow(view_.frmHistory);
    binder().AddOption(view_.optSpan1, id::optSpan1, true);
    binder().AddOption(view_.optSpan6, id::optSpan6, false);
    binder().AddOption(view_.optSpan24, id::optSpan24, false);
    const std::vector<monitor::HistoryLine>& lines = monitor::HistoryLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        binder().AddLabel(view_.figure_lines[i], lines[i].id, SS_LEFT | SS_NOPREFIX);
    }
    binder().AddCheckBox(view_.chkLog, id::chkLog);
    binder().AddCheckBox(view_.chkNotices, id::chkNotices);
    binder().AddCheckBox(view_.chkBloatNotice, id::chkBloatNotice);
    binder().AddLabel(view_.lblLog, id::lblLog, SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS);
    binder().AddField(view_.fldHost, id::lblHost, id::txtHost);
    binder().AddField(view_.fldSlowMs, id::lblSlow, id::txtSlowMs);
    binder().AddField(view_.fldSlowLoss, id::lblSlowLoss, id::txtSlowLoss);
    binder().AddButton(view_.cmdApply, id::cmdApply);
    binder().AddButton(view_.cmdReport, id::cmdReport);
    binder().AddButton(view_.cmdSave, id::cmdSave);
    binder().AddButton(view_.cmdClose, id::cmdClose);
}

void HistoryWindow::Resize() {
    RECT client;
    GetClientRect(hwnd(), &client);
    view_.Layout(PixelsToTwips(client.right, dpi_), PixelsToTwips(client.bottom, dpi_));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

RECT HistoryWindow::GraphRect() const {
    return binder().TwipsToRect(view_.GraphBounds());
}

void HistoryWindow::EraseAroundGraph(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    RECT graph = GraphRect();
    int saved = SaveDC(dc);
    ExcludeClipRect(dc, graph.left, graph.top, graph.right, graph.bottom);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RestoreDC(dc, saved);
}

// Drawn whole into a memory bitmap, then copied in one step.
void HistoryWindow::PaintGraph(HDC dc) {
    RECT graph = GraphRect();
    int width = graph.right - graph.left;
    int height = graph.bottom - graph.top;
    if (width <= 2 || height <= 2) {
        return;
    }
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
    DrawScene(memory, width, height);
    BitBlt(dc, graph.left, graph.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old_bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// The plot sits inside a one-pixel frame: bands for the up and down periods, grid lines at
// each quarter of the scale, the round-trip line, the loss marks, then the scale's texts.
void HistoryWindow::DrawScene(HDC dc, int width, int height) {
    FillBox(dc, 0, 0, width, height, kBackground);
    int plot_w = width - 2;
    int plot_h = height - 2;
    monitor::GraphScene scene = view_.Graph(plot_w, plot_h);
    for (const monitor::GraphBand& band : scene.bands) {
        FillBox(dc, 1 + band.left, 1, 1 + band.right + 1, 1 + plot_h,
                band.up ? id::kUpColor : DownColor(band.where));
    }
    int line = MulDiv(1, dpi_, 96);
    {
        Selected pen(dc, CreatePen(PS_SOLID, 1, kGridColor));
        for (int quarter = 1; quarter < 4; ++quarter) {
            int y = 1 + plot_h * quarter / 4;
            MoveToEx(dc, 1, y, nullptr);
            LineTo(dc, 1 + plot_w, y);
        }
    }
    {
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
    for (int x : scene.loss_x) {
        FillBox(dc, 1 + x, 1, 1 + x + line, 1 + plot_h, id::kLossColor);
    }
    RECT frame{0, 0, width, height};
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));

    HGDIOBJ old_font = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColor);
    int pad = 3 * line;
    RECT text{pad, pad, width - pad, height - pad};
    std::string top = scene.axis_max_ms > 0 ? std::to_string(scene.axis_max_ms) + " ms" : "";
    DrawTextA(dc, top.c_str(), -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    std::string from = SpanText(view_.SpanHours());
    DrawTextA(dc, from.c_str(), -1, &text, DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    DrawTextA(dc, "now", -1, &text, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    DrawLegend(dc, width, pad);
    SelectObject(dc, old_font);
}

// The outage colours and their places, centred at the top of the plot, so that a user can
// read where each outage lay: away from the right edge, where the newest outage shows.
void HistoryWindow::DrawLegend(HDC dc, int width, int top) {
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

std::string HistoryWindow::ChooseSaveFile(const std::string& suggested_name) {
    SaveFileRequest request;
    request.owner = hwnd();
    request.title = "Save History As";
    request.filter = "CSV Files (*.csv)\0*.csv\0All Files (*.*)\0*.*\0";
    request.default_extension = "csv";
    request.suggested_name = suggested_name;
    return win32::ChooseSaveFileUtf8(request);
}

std::string LocaleListSeparator() {
    char separator[8] = "";
    int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, separator, sizeof separator);
    return length > 1 ? std::string(separator) : std::string(",");
}

std::string HistoryWindow::ListSeparator() {
    return LocaleListSeparator();
}

void HistoryWindow::RedrawGraph() {
    if (HasBinder()) {
        RECT graph = GraphRect();
        InvalidateRect(hwnd(), &graph, FALSE);
    }
}

// Posted, so that the window does not go away inside the click that asked for it.
void HistoryWindow::Close() {
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

LRESULT HistoryWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_ERASEBKGND:
            if (HasBinder()) {
                EraseAroundGraph(reinterpret_cast<HDC>(wparam));
                return 1;
            }
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd(), &paint);
            if (HasBinder()) {
                PaintGraph(dc);
            }
            EndPaint(hwnd(), &paint);
            return 0;
        }
        case WM_SIZE:
            if (HasBinder()) {
                Resize();
            }
            return 0;
        case WM_GETMINMAXINFO: {
            RECT least{0, 0, TwipsToPixels(monitor::kHistoryMinWidth, dpi_),
                       TwipsToPixels(monitor::kHistoryMinHeight, dpi_)};
            AdjustWindowRectEx(&least, kStyle, FALSE, kExStyle);
            auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
            info->ptMinTrackSize = {least.right - least.left, least.bottom - least.top};
            return 0;
        }
        default:
            break;
    }
    return WindowBase::HandleMessage(message, wparam, lparam);
}

void HistoryWindow::OnDestroyed() {
    std::function<void()> on_closed = std::move(on_closed_);
    delete this;
    if (on_closed) {
        on_closed();
    }
}

}  // namespace zv::win32
