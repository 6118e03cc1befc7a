// A settings area over records of its own, its value lists filled as the window's load
// fills them: for the targets that drive the area without the main window around it.
#pragma once

#include "fakes/recording_ui.h"
#include "main_window/tuning_view.h"

namespace zv::testing {

struct LoneTuningArea {
    explicit LoneTuningArea(WindowsRelease running) : release(running) { area.FillValueLists(); }

    // The record after the load sequence has shown it; showing sets every control anew.
    TuningSettings Show(const TuningSettings& loaded) {
        current = loaded;
        area.SetLoading(true);
        area.ShowSettingsInWindow();
        area.SetLoading(false);
        return current;
    }

    TuningSettings current;
    TuningSettings defaults = InitialDefaultSettings();
    WindowsRelease release;
    CountingBeeper beeper;
    main_window::TuningView area{{current, defaults, release}, beeper, {}};
};

}  // namespace zv::testing
