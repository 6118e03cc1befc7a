#include "main_window/main_window_layout.h"

namespace zv::main_window {
namespace {

constexpr int kMargin = 120;
constexpr int kFrameWidth = 9360;
constexpr int kColumn = 3060;      // one of three value frames across, with its gap
constexpr int kPairWidth = 2880;   // a frame of three across
constexpr int kWidePair = 4440;    // a frame of two across
constexpr int kPairHeight = 1080;  // a value frame
constexpr int kRowHeight = 315;    // a text box or a closed list
constexpr int kOptionHeight = 255;
constexpr int kButtonHeight = 375;

constexpr std::size_t kPairsInFirstRow = 3;  // MTU, RWIN, TTL; then the two wider ones

// A "Windows Default"/"Custom" pair with its value control beside "Custom".
void PlacePair(const TuningPair& pair, int left, int top, int width) {
    pair.frame.SetBounds({left, top, width, kPairHeight});
    pair.windows_default.SetBounds({left + 150, top + 270, width - 300, kOptionHeight});
    pair.custom.SetBounds({left + 150, top + 650, 1000, kOptionHeight});
    pair.value_control().SetBounds({left + 1200, top + 620, width - 1380, kRowHeight});
}

}  // namespace

ClientSize LayOutMainWindow(MainView& w, int toolbar_height, int status_bar_height) {
    TuningView& a = w.area;
    const int left = kMargin;
    const int top = toolbar_height + kMargin;
    const int inner = left + 180;

    int y = top + 330;
    a.connection_type_label.SetBounds({inner, y + 45, 1400, 240});
    a.connection_type_list.SetBounds({inner + 1420, y, 2000, kRowHeight});
    a.optimization_mode_label.SetBounds({inner + 3800, y + 45, 1600, 240});
    a.optimization_mode[0].SetBounds({inner + 5420, y + 30, 1250, kOptionHeight});
    a.optimization_mode[1].SetBounds({inner + 6760, y + 30, 1100, kOptionHeight});

    y += 480;
    for (std::size_t i = 0; i < a.pairs().size(); ++i) {
        if (i < kPairsInFirstRow) {
            PlacePair(a.pairs()[i], inner + static_cast<int>(i) * kColumn, y, kPairWidth);
        } else {
            int column = static_cast<int>(i - kPairsInFirstRow);
            PlacePair(a.pairs()[i], inner + column * (kWidePair + 120), y + kPairHeight + 120,
                      kWidePair);
        }
    }

    y += 2 * (kPairHeight + 120);
    const int general_width = 2 * kWidePair + 120;
    a.general_frame.SetBounds({inner, y, general_width, 1080});
    a.path_mtu_discovery.SetBounds({inner + 150, y + 300, 3300, kOptionHeight});
    a.black_hole_detection.SetBounds({inner + 150, y + 680, 3300, kOptionHeight});
    const int lists = inner + 4800;
    a.http10_connections_label.SetBounds({lists, y + 300, 2200, 240});
    a.http10_connections.SetBounds({lists + 2300, y + 255, 1000, kRowHeight});
    a.http11_connections_label.SetBounds({lists, y + 680, 2200, 240});
    a.http11_connections.SetBounds({lists + 2300, y + 635, 1000, kRowHeight});

    y += 1080 + 180;
    const int buttons_right = inner + general_width;
    w.cmdHelp.SetBounds({buttons_right - 1300, y, 1300, kButtonHeight});
    w.cmdPing.SetBounds({buttons_right - 1300 - 120 - 2200, y, 2200, kButtonHeight});
    w.cmdApply.SetBounds({buttons_right - 3620 - 120 - 1300, y, 1300, kButtonHeight});

    const int frame_bottom = y + kButtonHeight + 180;
    a.settings_frame.SetBounds({left, top, kFrameWidth, frame_bottom - top});
    return ClientSize{left + kFrameWidth + kMargin, frame_bottom + kMargin + status_bar_height};
}

}  // namespace zv::main_window
