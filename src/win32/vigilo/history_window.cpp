#include "win32/vigilo/history_window.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "monitor/history_lines.h"
#include "win32/ui/layout.h"
#include "win32/ui/save_file_dialog.h"
#include "win32/ui/system_colours.h"
#include "win32/vigilo/history_graph_keys.h"
#include "win32/vigilo/history_graph_paint.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::win32 {
namespace {

namespace id = frm_history;

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

}  // namespace

HistoryWindow* HistoryWindow::Open(monitor::LinkMonitor& monitor, ui::MessageBoxPort& messages,
                                   Exporter exporter, std::function<void()> on_closed,
                                   std::function<void()> make_report) {
    auto* window = new HistoryWindow(monitor, messages, std::move(exporter), std::move(on_closed),
                                     std::move(make_report));
    return ShownInFront(window, window->Build()) ? window : nullptr;
}

HistoryWindow::HistoryWindow(monitor::LinkMonitor& monitor, ui::MessageBoxPort& messages,
                             Exporter exporter, std::function<void()> on_closed,
                             std::function<void()> make_report)
    : view_({monitor, messages, *this}), on_closed_(std::move(on_closed)) {
    exporter_ = std::move(exporter);
    make_report_ = std::move(make_report);
}

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
    font_ = CreateMessageFont(dpi_);
    scheme_ = CurrentScheme(view_.UsesSystemColours());
    MakeBinder(font_, dpi_, true);
    view_.Layout(monitor::kHistoryWidth, monitor::kHistoryHeight);
    AddControls();
    PlaceGraphKeys();
    view_.Load();
    return true;
}

// Created in tab order.
void HistoryWindow::AddControls() {
    binder().BindWindow(view_.frmHistory);
    binder().AddOption(view_.optSpan1, id::optSpan1, true);
    binder().AddOption(view_.optSpan6, id::optSpan6, false);
    binder().AddOption(view_.optSpan24, id::optSpan24, false);
    binder().AddOption(view_.optSpan168, id::optSpan168, false);
    binder().AddOption(view_.optSpan720, id::optSpan720, false);
    // Backspace presses it: see DispatchOneMessage.
    binder().AddButton(view_.cmdBack, kBackButtonId);
    graph_keys_ = CreateGraphKeys(hwnd(), id::graph);
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

// The graph's texts and lines follow the font and the DPI when next painted.
void HistoryWindow::OnDpiChanged(int dpi, RECT& /*suggested*/) {
    dpi_ = dpi;
    RescaleControls(font_, dpi);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void HistoryWindow::Resize() {
    RECT client;
    GetClientRect(hwnd(), &client);
    view_.Layout(PixelsToTwips(client.right, dpi_), PixelsToTwips(client.bottom, dpi_));
    PlaceGraphKeys();
    InvalidateRect(hwnd(), nullptr, TRUE);
}

RECT HistoryWindow::GraphRect() const {
    return binder().TwipsToRect(view_.GraphBounds());
}

// Over the graph, so that a screen reader shows where it is.
void HistoryWindow::PlaceGraphKeys() {
    RECT graph = GraphRect();
    SetWindowPos(graph_keys_, nullptr, graph.left, graph.top, graph.right - graph.left,
                 graph.bottom - graph.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void HistoryWindow::PressGraphKey(WPARAM key, bool typed) {
    using Key = monitor::HistoryView::GraphKey;
    RECT graph = GraphRect();
    int width = static_cast<int>(graph.right - graph.left) - 2;
    if (typed && (key == '+' || key == '=')) {
        view_.PressGraphKey(Key::ZoomIn, width);
    } else if (typed && key == '-') {
        view_.PressGraphKey(Key::Back, width);
    } else if (!typed && (key == VK_LEFT || key == VK_RIGHT)) {
        view_.PressGraphKey(key == VK_LEFT ? Key::ShorterSpan : Key::LongerSpan, width);
    }
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
    monitor::GraphScene scene = view_.Graph(width - 2, height - 2);
    monitor::HistoryView::GraphEnds ends = view_.GraphEndTexts();
    GraphPicture picture{scene, ends.from, ends.hint, ends.to, font_, dpi_, scheme_};
    if (dragging_) {
        picture.select_left = std::min(drag_from_, drag_to_);
        picture.select_right = std::max(drag_from_, drag_to_);
    }
    PaintGraphPicture(memory, width, height, picture);
    if (graph_keys_ != nullptr && GetFocus() == graph_keys_) {
        RECT inside{2, 2, width - 2, height - 2};
        DrawFocusRect(memory, &inside);
    }
    BitBlt(dc, graph.left, graph.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old_bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// The plot's pixel column under a point of the client area, clamped to the plot.
int HistoryWindow::PlotColumn(LPARAM point) const {
    RECT graph = GraphRect();
    int x = static_cast<short>(LOWORD(point)) - graph.left - 1;
    return std::clamp(x, 0, std::max(0, static_cast<int>(graph.right - graph.left) - 3));
}

bool HistoryWindow::StartDrag(LPARAM point) {
    RECT graph = GraphRect();
    POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    if (!PtInRect(&graph, at)) {
        return false;
    }
    dragging_ = true;
    drag_from_ = drag_to_ = PlotColumn(point);
    SetCapture(hwnd());
    return true;
}

void HistoryWindow::MoveDrag(LPARAM point) {
    drag_to_ = PlotColumn(point);
    RedrawGraph();
}

void HistoryWindow::EndDrag(LPARAM point) {
    drag_to_ = PlotColumn(point);
    dragging_ = false;
    ReleaseCapture();
    RECT graph = GraphRect();
    view_.ZoomIn(drag_from_, drag_to_, static_cast<int>(graph.right - graph.left) - 2);
    RedrawGraph();
}

LRESULT HistoryWindow::HandleMouse(UINT message, LPARAM lparam) {
    if (message == WM_LBUTTONDOWN) {
        StartDrag(lparam);
    } else if (dragging_ && message == WM_MOUSEMOVE) {
        MoveDrag(lparam);
    } else if (dragging_ && message == WM_LBUTTONUP) {
        EndDrag(lparam);
    } else if (dragging_ && message == WM_CAPTURECHANGED) {
        dragging_ = false;  // taken away: no zoom
        RedrawGraph();
    }
    return 0;
}

// The file type chosen says what is saved: the span the graph shows, or the whole record.
monitor::HistoryWindowPort::ExportChoice HistoryWindow::ChooseExportFile(
    const std::string& suggested_name) {
    SaveFileRequest request;
    request.owner = hwnd();
    request.title = "Save History As";
    request.filter = "CSV, the span shown (*.csv)\0*.csv\0CSV, the whole record (*.csv)\0*.csv\0";
    request.default_extension = "csv";
    request.suggested_name = suggested_name;
    int chosen = 1;
    std::string path = win32::ChooseSaveFileUtf8(request, &chosen);
    return {path, chosen == 2};
}

void HistoryWindow::Export(monitor::HistoryExport job) {
    exporter_(hwnd(), std::move(job));
}

std::string LocaleListSeparator() {
    char separator[8] = "";
    int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, separator, sizeof separator);
    return length > 1 ? std::string(separator) : std::string(",");
}

std::string HistoryWindow::ListSeparator() {
    return LocaleListSeparator();
}

void HistoryWindow::ColoursChanged() {
    scheme_ = CurrentScheme(view_.UsesSystemColours());
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void HistoryWindow::RedrawGraph() {
    if (HasBinder()) {
        RECT graph = GraphRect();
        InvalidateRect(hwnd(), &graph, FALSE);
    }
    std::string text = view_.GraphText();
    if (graph_keys_ != nullptr && text != graph_text_) {
        SetWindowTextA(graph_keys_, text.c_str());
        graph_text_ = text;
    }
}

// Posted, so that the window does not go away inside the click that asked for it.
void HistoryWindow::Close() {
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

LRESULT HistoryWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (ColoursChange(message, scheme_, view_.UsesSystemColours())) {
        ColoursChanged();
    }
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
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (HasBinder()) {
                return HandleMouse(message, lparam);
            }
            break;
        case kGraphKeyMessage:
            PressGraphKey(wparam, lparam != 0);
            return 0;
        case kGraphFocusMessage:
            RedrawGraph();
            return 0;
        case kHistorySavedMessage:
            view_.Exported(wparam != 0);
            return 0;
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
