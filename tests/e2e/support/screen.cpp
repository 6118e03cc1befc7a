#include "support/screen.h"

#include <cstdio>

#include "support/check.h"
#include "support/files.h"
#include "support/sandbox_control.h"
#include "support/windows_on_screen.h"

namespace zv::e2e {

ScreenPixels PixelsOnScreen(const RECT& area) {
    ScreenPixels shot;
    shot.width = area.right - area.left;
    shot.height = area.bottom - area.top;
    if (shot.width <= 0 || shot.height <= 0) {
        return {};
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* dib = static_cast<const DWORD*>(bits);
    shot.pixels.reserve(static_cast<size_t>(shot.width) * shot.height);
    for (int i = 0; i < shot.width * shot.height; ++i) {
        // A DIB pixel is 0x00RRGGBB, a COLORREF 0x00BBGGRR.
        shot.pixels.push_back(RGB(dib[i] >> 16 & 0xFF, dib[i] >> 8 & 0xFF, dib[i] & 0xFF));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}
namespace {

// Screenshot names become file names on both sides of the sandbox.
std::string SafeName(const std::string& name) {
    std::string safe;
    for (char c : name) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '_' || c == '.';
        safe += plain ? c : '_';
    }
    return safe;
}

void PrintWindow(HWND window) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    RECT r;
    GetWindowRect(window, &r);
    std::printf("  window pid %lu class %s caption %s at (%ld,%ld)-(%ld,%ld)\n", process_id,
                Escape(WindowClass(window)).c_str(), Escape(WindowText(window)).c_str(), r.left,
                r.top, r.right, r.bottom);
    for (HWND child : ChildControls(window)) {
        std::printf("    control %s id %d%s text %s\n", Escape(WindowClass(child)).c_str(),
                    GetDlgCtrlID(child), IsWindowEnabled(child) ? "" : " (disabled)",
                    Escape(WindowText(child)).c_str());
    }
}

}  // namespace

bool RequestScreenshot(const std::string& name, DWORD timeout_ms) {
    return RequestFromSandbox(
        "shot-" + SafeName(EnvironmentVariable("ZV_RUN_NAME")) + "-" + SafeName(name), timeout_ms);
}

void PrintWindowsOnScreen() {
    std::printf("windows on screen:\n");
    for (HWND window : FindTopLevelWindows(WindowQuery{})) {
        PrintWindow(window);
    }
}

}  // namespace zv::e2e
