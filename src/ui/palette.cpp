#include "ui/palette.h"

namespace zv::ui {

Scheme ChooseScheme(const SchemeFacts& facts) {
    if (facts.high_contrast || facts.prefers_system_colours) {
        return Scheme::System;
    }
    return facts.apps_dark ? Scheme::Dark : Scheme::Normal;
}

Role PictureRole(uint32_t rgb, bool stroke) {
    if (stroke) {
        return Role::PictureLine;
    }
    uint32_t red = rgb & 0xFF;
    uint32_t green = rgb >> 8 & 0xFF;
    uint32_t blue = rgb >> 16 & 0xFF;
    // Rec. 601 luma, in thousandths.
    return (299 * red + 587 * green + 114 * blue) / 1000 >= 160 ? Role::PictureLight
                                                                : Role::PictureDark;
}

}  // namespace zv::ui
