#include "support/tray_observer.h"

#include <cstdlib>
#include <functional>

#include "support/wait.h"
#include "support/windows_on_screen.h"

namespace zv::e2e {
namespace {

constexpr int kSize = 16;
// The mean colour difference per compared pixel below which a picture counts as shown.
constexpr long kMatchLimit = 3 * 12;
// Resource IDs of imgVigilo in vigilo.exe (see vigilo_ids.h).
constexpr int kFirstImageId = 201;

// The pixels, row by row, of an icon-sized bitmap that `draw` fills, given the bitmap's
// device context and the screen's.
std::vector<COLORREF> PixelsDrawn(const std::function<void(HDC memory, HDC screen)>& draw) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kSize, kSize);
    HGDIOBJ old = SelectObject(memory, bitmap);
    draw(memory, screen);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            pixels.push_back(GetPixel(memory, x, y));
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<COLORREF> RenderIcon(HICON icon, COLORREF background_colour) {
    return PixelsDrawn([&](HDC memory, HDC) {
        HBRUSH background = CreateSolidBrush(background_colour);
        RECT all{0, 0, kSize, kSize};
        FillRect(memory, &all, background);
        DeleteObject(background);
        DrawIconEx(memory, 0, 0, icon, kSize, kSize, 0, nullptr, DI_NORMAL);
    });
}

// The mean colour difference over the pixels the picture covers fully. Wine's tray draws
// each new picture over the last without erasing, so the half-transparent edge pixels
// darken over time and are left out.
long Distance(const std::vector<COLORREF>& seen, const TrayObserver::Reference& reference) {
    long sum = 0;
    long compared = 0;
    for (size_t i = 0; i < seen.size(); ++i) {
        if (!reference.opaque[i]) {
            continue;
        }
        COLORREF want = reference.pixels[i];
        sum += std::abs(GetRValue(seen[i]) - GetRValue(want)) +
               std::abs(GetGValue(seen[i]) - GetGValue(want)) +
               std::abs(GetBValue(seen[i]) - GetBValue(want));
        ++compared;
    }
    return compared == 0 ? kMatchLimit : sum / compared;
}

}  // namespace

TrayObserver::TrayObserver(const std::string& vigilo_exe) {
    HMODULE module = LoadLibraryExA(vigilo_exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (int i = 0; i < 5; ++i) {
        HICON icon = static_cast<HICON>(
            LoadImageA(module, MAKEINTRESOURCEA(kFirstImageId + i), IMAGE_ICON, kSize, kSize, 0));
        // A pixel the picture covers fully looks the same over white and over black.
        Reference reference;
        reference.pixels = RenderIcon(icon, RGB(255, 255, 255));
        std::vector<COLORREF> over_black = RenderIcon(icon, RGB(0, 0, 0));
        for (size_t p = 0; p < reference.pixels.size(); ++p) {
            reference.opaque.push_back(reference.pixels[p] == over_black[p]);
        }
        references_.push_back(reference);
        DestroyIcon(icon);
    }
    FreeLibrary(module);
}

std::vector<HWND> TrayObserver::IconWindows() const {
    std::vector<HWND> icons;
    for (HWND tray : FindTopLevelWindows({0, "__winex11_standalone_tray", "", true})) {
        for (HWND child = GetWindow(tray, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (WindowClass(child) == "__winex11_tray_icon" && IsWindowVisible(child)) {
                icons.push_back(child);
            }
        }
    }
    return icons;
}

bool TrayObserver::IconCentre(POINT& centre) const {
    auto icons = IconWindows();
    if (icons.size() != 1) {
        return false;
    }
    RECT r;
    GetWindowRect(icons[0], &r);
    centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return true;
}

// The tray's tooltip control answers WM_GETTEXT with the tip it is showing.
std::string TrayObserver::TipText(DWORD limit_ms) const {
    POINT centre;
    if (!IconCentre(centre)) {
        return "";
    }
    SetCursorPos(centre.x - 1, centre.y - 1);
    SetCursorPos(centre.x, centre.y);
    std::string text;
    WaitUntil(
        [&] {
            for (HWND tip : FindTopLevelWindows({0, "tooltips_class32", "", true})) {
                text = WindowText(tip);
                if (!text.empty()) {
                    return true;
                }
            }
            return false;
        },
        limit_ms);
    return text;
}

int TrayObserver::CurrentImage() const {
    POINT centre;
    if (!IconCentre(centre)) {
        return 0;
    }
    // One copy of the whole icon, so that a change of picture cannot fall between pixels.
    return Match(PixelsDrawn([&](HDC memory, HDC screen) {
        BitBlt(memory, 0, 0, kSize, kSize, screen, centre.x - kSize / 2, centre.y - kSize / 2,
               SRCCOPY);
    }));
}

int TrayObserver::Match(const std::vector<COLORREF>& pixels) const {
    int best = 0;
    long best_distance = kMatchLimit;
    for (size_t i = 0; i < references_.size(); ++i) {
        long d = Distance(pixels, references_[i]);
        if (d < best_distance) {
            best_distance = d;
            best = static_cast<int>(i) + 1;
        }
    }
    return best;
}

bool TrayObserver::WaitForImage(int image, DWORD limit_ms) const {
    return WaitUntil([&] { return CurrentImage() == image; }, limit_ms);
}

TrayObserver::Timeline TrayObserver::Watch(DWORD duration_ms) const {
    Timeline timeline;
    DWORD start = GetTickCount();
    for (DWORD now = start; now - start < duration_ms; now = GetTickCount()) {
        int image = CurrentImage();
        if (timeline.images.empty() || timeline.images.back() != image) {
            timeline.images.push_back(image);
            timeline.change_ms.push_back(now - start);
        }
        Sleep(10);
    }
    return timeline;
}

std::string Join(const std::vector<int>& images) {
    std::string text;
    for (int image : images) {
        text += (text.empty() ? "" : " ") + std::to_string(image);
    }
    return text.empty() ? "(none)" : text;
}

}  // namespace zv::e2e
