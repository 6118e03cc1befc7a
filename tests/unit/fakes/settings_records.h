// Tuning records the tests start from, written out field by field.
#pragma once

#include "tuning/tuning_settings.h"

namespace zv::testing {

// The record Restore saves: Manual mode, the five tuning values left to Windows, path MTU
// discovery on, 2 and 4 connections per server.
inline TuningSettings RestoredSettings() {
    TuningSettings s = InitialDefaultSettings();
    s.OptimizationMode = ManualMode;
    s.RWINIndex = s.SKAIndex = s.NDIIndex = NoSelection;
    s.PMTU = true;
    s.Http10Connections = 2;
    s.Http11ConnectionsIndex = 2;
    s.Http11Connections = 4;
    return s;
}

// A Manual-mode choice as Apply saves it: custom MTU and RWIN (x64 of that MTU), TTL and
// SKA at Windows Default, custom NDI.
inline TuningSettings ManualChoice() {
    TuningSettings s = RestoredSettings();
    s.ConnectionType = 3;
    s.MTUCustom = s.RWINCustom = s.NDICustom = true;
    s.MTU = 1492;
    s.RWINIndex = 8;
    s.RWIN = 95488;
    s.NDIIndex = 5;
    s.NDI = 32;
    return s;
}

}  // namespace zv::testing
