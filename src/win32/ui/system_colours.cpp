#include "win32/ui/system_colours.h"

#include "win32/platform/system_library.h"
#include "win32/platform/user_number.h"

namespace zv::win32 {
namespace {

bool HighContrastOn() {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// Windows 10 1809 and later keep the user's choice of dark apps here; older ones have no
// value, which reads as light.
bool AppsDark() {
    return ReadUserNumber("Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                          "AppsUseLightTheme") == DWORD{0};
}

}  // namespace

ui::Scheme CurrentScheme(bool prefers_system_colours) {
    return ui::ChooseScheme({HighContrastOn(), prefers_system_colours, AppsDark()});
}

COLORREF SchemeColour(ui::Scheme scheme, ui::Role role, COLORREF drawn) {
    ui::Colour colour = ui::ColourOf(scheme, role);
    switch (colour.kind) {
        case ui::Colour::Kind::Fixed:
            return colour.rgb;
        case ui::Colour::Kind::System:
            return GetSysColor(static_cast<int>(colour.system));
        case ui::Colour::Kind::Drawn:
            break;
    }
    return drawn;
}

bool FollowDarkTitleBar(HWND window, bool dark_now) {
    const BOOL dark = CurrentScheme(false) == ui::Scheme::Dark;
    if ((dark != FALSE) == dark_now) {
        return dark_now;
    }
    // DWMWA_USE_IMMERSIVE_DARK_MODE, which older SDK headers lack.
    constexpr DWORD kDarkModeAttribute = 20;
    using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    SystemLibrary dwmapi("dwmapi.dll");
    if (auto set_attribute = dwmapi.Function<SetAttributeFn>("DwmSetWindowAttribute")) {
        set_attribute(window, kDarkModeAttribute, &dark, sizeof dark);
    }
    return dark != FALSE;
}

bool ColoursMayHaveChanged(UINT message) {
    return message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE;
}

bool ColoursChange(UINT message, ui::Scheme painted, bool prefers_system_colours) {
    return message == WM_SYSCOLORCHANGE ||
           (message == WM_SETTINGCHANGE && CurrentScheme(prefers_system_colours) != painted);
}

}  // namespace zv::win32
