// Where the main window's tuning area and buttons sit, in twips: settings_frame below the toolbar,
// the five value frames in two rows, the general settings below them and the buttons at
// the bottom of settings_frame.
#pragma once

#include "main_window/main_view.h"

namespace zv::main_window {

struct ClientSize {
    int width = 0;
    int height = 0;
};

// Lays out the area below a toolbar of the given height and returns the client size the
// window needs, status bar included.
ClientSize LayOutMainWindow(MainView& window, int toolbar_height, int status_bar_height);

}  // namespace zv::main_window
