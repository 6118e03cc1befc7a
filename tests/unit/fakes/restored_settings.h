// The record Restore saves, written out: Manual mode, the five tuning values left to
// Windows, path MTU discovery on, 2 and 4 connections per server.
#pragma once

#include "tuning/tuning_settings.h"

namespace zv::testing {

inline TuningSettings RestoredSettings() {
    TuningSettings s = InitialDefaultSettings();
    s.OptiMode = ManualMode;
    s.RWINIndex = s.SKAIndex = s.NDIIndex = NoSelection;
    s.PMTU = true;
    s.MSCPS0 = 2;
    s.MSCPS1Index = 2;
    s.MSCPS1 = 4;
    return s;
}

}  // namespace zv::testing
