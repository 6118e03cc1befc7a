#include "win32/ui/layout.h"

#include "win32/platform/system_library.h"

namespace zv::win32 {

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND window) {
    using DpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto dpi_for_window =
        LoadedSystemFunction<DpiForWindowFn>("user32.dll", "GetDpiForWindow");
    UINT dpi = (dpi_for_window != nullptr && window != nullptr) ? dpi_for_window(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

// The metrics Windows gives are those of the screen's DPI; the font is scaled from there.
HFONT CreateMessageFont(int dpi) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, ScreenDpi());
        return CreateFontIndirectA(&metrics.lfMessageFont);
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT FrameForClient(int width, int height, DWORD style, bool menu, DWORD ex_style, int dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust_for_dpi =
        LoadedSystemFunction<AdjustForDpiFn>("user32.dll", "AdjustWindowRectExForDpi");
    RECT frame{0, 0, width, height};
    if (adjust_for_dpi != nullptr) {
        adjust_for_dpi(&frame, style, menu, ex_style, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&frame, style, menu, ex_style);
    }
    OffsetRect(&frame, -frame.left, -frame.top);
    return frame;
}

int SystemMetricForDpi(int index, int dpi) {
    using MetricForDpiFn = int(WINAPI*)(int, UINT);
    static const auto metric_for_dpi =
        LoadedSystemFunction<MetricForDpiFn>("user32.dll", "GetSystemMetricsForDpi");
    if (metric_for_dpi != nullptr) {
        return metric_for_dpi(index, static_cast<UINT>(dpi));
    }
    return MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

// At the screen's own DPI the common controls' LoadIconMetric (Vista and later) picks and
// scales the picture best; at another DPI, or where it is missing, the nearest picture of
// the size for that DPI.
HICON LoadSmallIcon(int resource, int dpi) {
    using LoadIconMetricFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const auto load_icon_metric =
        LoadedSystemFunction<LoadIconMetricFn>("comctl32.dll", "LoadIconMetric");
    HICON icon = nullptr;
    if (load_icon_metric != nullptr && dpi == ScreenDpi() &&
        SUCCEEDED(
            load_icon_metric(instance, MAKEINTRESOURCEW(resource), 0 /* LIM_SMALL */, &icon))) {
        return icon;
    }
    int size = SystemMetricForDpi(SM_CXSMICON, dpi);
    return static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(resource), IMAGE_ICON, size, size, 0));
}

}  // namespace zv::win32
