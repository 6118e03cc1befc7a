// The history graph drawn with GDI from its scene: bands, grid, the round-trip line with each
// column's spread, loss marks, the scale's and the ends' texts, the legend, and the stretch a
// drag is selecting, in the colours of a scheme. Nothing is told by colour alone: an
// outage's band carries the hatch of where it lay, and a lost probe a cross. Apart from the
// window, so that the bench draws the same picture.
#pragma once

#include <windows.h>

#include <string>

#include "monitor/history_graph.h"
#include "ui/palette.h"

namespace zv::win32 {

struct GraphPicture {
    const monitor::GraphScene& scene;
    std::string from_text;
    std::string hint_text;
    std::string to_text;
    HFONT font = nullptr;
    int dpi = 96;
    ui::Scheme scheme = ui::Scheme::Normal;
    // The columns of the plot a drag selects, left and right; equal when none is.
    int select_left = 0;
    int select_right = 0;
};

// Draws a graph of `width` by `height` pixels, whose plot sits inside a one-pixel frame: the
// scene was built for (width - 2) by (height - 2).
void PaintGraphPicture(HDC dc, int width, int height, const GraphPicture& picture);

}  // namespace zv::win32
