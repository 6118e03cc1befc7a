// The colour scheme of the painted parts: which one Windows' state and the option choose,
// and that the system scheme leaves nothing to a colour of the programs' own.
#include <gtest/gtest.h>

#include "ui/palette.h"

namespace zv::ui {
namespace {

TEST(PaletteTest, HighContrastAndTheOptionChooseSystemColoursOverDark) {
    struct Case {
        SchemeFacts facts;
        Scheme scheme;
    } const kCases[] = {
        {{false, false, false}, Scheme::Normal}, {{false, false, true}, Scheme::Dark},
        {{true, false, false}, Scheme::System},  {{true, false, true}, Scheme::System},
        {{false, true, false}, Scheme::System},  {{false, true, true}, Scheme::System},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message()
                     << "high contrast " << c.facts.high_contrast << ", option "
                     << c.facts.prefers_system_colours << ", dark " << c.facts.apps_dark);
        EXPECT_EQ(ChooseScheme(c.facts), c.scheme);
    }
}

// Windows' numbers, which GetSysColor takes.
TEST(PaletteTest, EveryRoleOfTheSystemSchemeIsASystemColour) {
    for (int role = 0; role < static_cast<int>(Role::Count); ++role) {
        Colour colour = ColourOf(Scheme::System, static_cast<Role>(role));
        EXPECT_EQ(colour.kind, Colour::Kind::System) << "role " << role;
    }
    EXPECT_EQ(static_cast<int>(ColourOf(Scheme::System, Role::Background).system), 5);
    EXPECT_EQ(static_cast<int>(ColourOf(Scheme::System, Role::Text).system), 8);
    EXPECT_EQ(static_cast<int>(ColourOf(Scheme::System, Role::Loss).system), 13);
}

uint32_t Luma(uint32_t rgb) {
    return (299 * (rgb & 0xFF) + 587 * (rgb >> 8 & 0xFF) + 114 * (rgb >> 16 & 0xFF)) / 1000;
}

// The marks stand out from what they are drawn on, light on dark and dark on light.
TEST(PaletteTest, TheGraphsMarksStandOutInTheOwnAndTheDarkScheme) {
    for (Scheme scheme : {Scheme::Normal, Scheme::Dark}) {
        uint32_t ground = Luma(ColourOf(scheme, Role::Background).rgb);
        for (Role mark : {Role::Text, Role::RoundTrip, Role::Loss}) {
            uint32_t luma = Luma(ColourOf(scheme, mark).rgb);
            uint32_t apart = luma > ground ? luma - ground : ground - luma;
            EXPECT_GE(apart, 90u) << "scheme " << static_cast<int>(scheme) << ", role "
                                  << static_cast<int>(mark) << ": " << luma << " on " << ground;
        }
    }
}

// Pictures keep their own colours except in the system scheme, where strokes, light fills
// and dark fills each take one system colour.
TEST(PaletteTest, PicturesTakeSystemColoursByStrokeAndLightness) {
    EXPECT_EQ(PictureRole(0xFFFFFF, true), Role::PictureLine);
    EXPECT_EQ(PictureRole(0xFFFFFF, false), Role::PictureLight);
    EXPECT_EQ(PictureRole(0x46E1FF, false), Role::PictureLight);  // the tip's yellow bulb
    EXPECT_EQ(PictureRole(0xC86E28, false), Role::PictureDark);   // the monitors' blue
    for (Role role : {Role::PictureLine, Role::PictureLight, Role::PictureDark}) {
        EXPECT_EQ(ColourOf(Scheme::Normal, role), Drawn());
        EXPECT_EQ(ColourOf(Scheme::Dark, role), Drawn());
    }
}

}  // namespace
}  // namespace zv::ui
