// The colours of what the programs paint themselves (the history graph and its bands, the
// toolbar's pictures), by role, in each of three schemes: the programs' own, the system's
// (under high contrast, or for a user who prefers it) and dark (when Windows says the user
// prefers dark apps). In the system scheme every role names one of Windows' system colours,
// so that the picture follows whatever colours the user set.
#pragma once

#include <cstdint>

namespace zv::ui {

// Windows' own numbers of its system colours (GetSysColor's index).
enum class SystemColour : int {
    Window = 5,
    WindowText = 8,
    Highlight = 13,
    ButtonFace = 15,
    ButtonShadow = 16,
    GrayText = 17,
    ButtonText = 18,
};

enum class Scheme { Normal, System, Dark };

enum class Role {
    Background,
    Text,
    Grid,
    Frame,
    UpBand,
    // An outage's band by where it lay, and the hatch over every outage's band.
    DownBand,
    YourNetworkBand,
    YourProviderBand,
    BeyondProviderBand,
    BandHatch,
    RoundTrip,
    // The spread of the round trips in a column that holds many probes.
    Spread,
    Loss,
    // A picture's outlines and strokes, its light and its dark fills.
    PictureLine,
    PictureLight,
    PictureDark,
    Count
};

struct Colour {
    enum class Kind { Fixed, System, Drawn };
    Kind kind = Kind::Drawn;
    uint32_t rgb = 0;  // Fixed: 0x00BBGGRR, as Windows' COLORREF
    SystemColour system = SystemColour::Window;

    bool operator==(const Colour& other) const {
        return kind == other.kind && rgb == other.rgb && system == other.system;
    }
};

constexpr Colour Fixed(uint32_t red, uint32_t green, uint32_t blue) {
    return {Colour::Kind::Fixed, red | green << 8 | blue << 16, SystemColour::Window};
}
constexpr Colour System(SystemColour colour) {
    return {Colour::Kind::System, 0, colour};
}
// A picture keeps the colour it was drawn with.
constexpr Colour Drawn() {
    return {};
}

// What the scheme is chosen from.
struct SchemeFacts {
    bool high_contrast = false;
    bool prefers_system_colours = false;  // the programs' own option
    bool apps_dark = false;               // Windows' "AppsUseLightTheme" is 0
};

// High contrast or the option wins over dark: its colours are the user's own.
Scheme ChooseScheme(const SchemeFacts& facts);

namespace palette {
using S = SystemColour;

struct PaletteRow {
    Role role;
    Colour normal;
    Colour system;
    Colour dark;
};

// One row per role, in the order of Role.
inline constexpr PaletteRow kPalette[] = {
    {Role::Background, Fixed(255, 255, 255), System(S::Window), Fixed(32, 32, 32)},
    {Role::Text, Fixed(90, 90, 90), System(S::WindowText), Fixed(210, 210, 210)},
    {Role::Grid, Fixed(210, 210, 210), System(S::GrayText), Fixed(70, 70, 70)},
    {Role::Frame, System(S::ButtonShadow), System(S::WindowText), Fixed(96, 96, 96)},
    {Role::UpBand, Fixed(225, 245, 225), System(S::Window), Fixed(28, 52, 28)},
    {Role::DownBand, Fixed(255, 225, 225), System(S::Window), Fixed(72, 32, 32)},
    {Role::YourNetworkBand, Fixed(255, 200, 120), System(S::Window), Fixed(90, 64, 20)},
    {Role::YourProviderBand, Fixed(200, 170, 255), System(S::Window), Fixed(60, 44, 100)},
    {Role::BeyondProviderBand, Fixed(150, 200, 255), System(S::Window), Fixed(28, 60, 100)},
    {Role::BandHatch, Fixed(128, 128, 128), System(S::GrayText), Fixed(150, 150, 150)},
    {Role::RoundTrip, Fixed(0, 90, 200), System(S::WindowText), Fixed(90, 170, 255)},
    {Role::Spread, Fixed(160, 200, 240), System(S::GrayText), Fixed(40, 70, 110)},
    {Role::Loss, Fixed(220, 0, 0), System(S::Highlight), Fixed(255, 90, 90)},
    {Role::PictureLine, Drawn(), System(S::ButtonText), Drawn()},
    {Role::PictureLight, Drawn(), System(S::ButtonFace), Drawn()},
    {Role::PictureDark, Drawn(), System(S::Highlight), Drawn()},
};
static_assert(sizeof kPalette / sizeof kPalette[0] == static_cast<int>(Role::Count),
              "one row per role");

constexpr bool InRoleOrder() {
    for (int i = 0; i < static_cast<int>(Role::Count); ++i) {
        if (kPalette[i].role != static_cast<Role>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(InRoleOrder(), "the rows in the order of Role");

}  // namespace palette

constexpr Colour ColourOf(Scheme scheme, Role role) {
    const palette::PaletteRow& row = palette::kPalette[static_cast<int>(role)];
    return scheme == Scheme::System ? row.system : scheme == Scheme::Dark ? row.dark : row.normal;
}

// The role of a colour a picture was drawn with: its strokes, or its light or dark fills.
Role PictureRole(uint32_t rgb, bool stroke);

// The programs' own colour of a role, for the drivers that read a screenshot back.
constexpr uint32_t NormalColour(Role role) {
    return ColourOf(Scheme::Normal, role).rgb;
}

}  // namespace zv::ui
