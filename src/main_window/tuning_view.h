// The tuning area of the main window as a controller over its controls: the connection
// type, the optimization mode, the five "Windows Default"/"Custom" pairs and the general
// settings. Every handler copies control state into CurrentSettings; the procedures fill,
// enable, reset and show the controls, and hand Apply the record. It runs without a real
// window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/windows_release.h"
#include "tuning/tuning_settings.h"
#include "ui/captioned.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/option.h"
#include "ui/ports.h"
#include "ui/text_box.h"

namespace zv::main_window {

// What the tuning area asks of the window around it.
struct TuningAreaHooks {
    // Apply, with its messages and restart question (after an Automatic-mode type change).
    std::function<void()> apply;
    // The modal explanation of Manual mode; returns when it closed. Gets the shown type.
    std::function<void(const std::string& connection_type)> show_explanation;
    // Status-bar panel 2 shows "Mode: " followed by this word.
    std::function<void(const std::string& mode_word)> show_mode;
};

// The program-wide records the area works on, owned by the program.
struct TuningRecords {
    TuningSettings& current;
    TuningSettings& defaults;
    const WindowsRelease& windows_release;  // fixed once the program has started
};

// What one pair edits in the record, and how its value control gives the value.
struct PairFields {
    bool TuningSettings::*custom;
    int32_t TuningSettings::*value;
    int16_t TuningSettings::*position;    // a picked value's list position; null when typed
    std::size_t max_chars;                // a typed value's longest text (every value fits)
    std::vector<std::string> (*items)();  // a picked value's list, null when typed
    // The value of a list position, given the record as it stands (the RWIN needs its MTU).
    std::optional<int32_t> (*value_at)(int16_t position, const TuningSettings& current);
};

// One "Windows Default"/"Custom" pair: its frame, both options, its value control (a text
// box for a typed value, a list for a picked one) and the record fields it edits. The
// handlers, the procedures, the real window and the layout all go through this table.
struct TuningPair {
    ui::Frame& frame;
    ui::Option& windows_default;
    ui::Option& custom;
    ui::TextBox* text;   // MTU, TTL
    ui::ComboBox* list;  // RWIN, Session Keep Alive, NDI Cache
    PairFields fields;

    ui::Control& value_control() const {
        return text != nullptr ? static_cast<ui::Control&>(*text) : *list;
    }
    // The frame, both options and the value control.
    std::array<ui::Control*, 4> controls() const {
        return {&frame, &windows_default, &custom, &value_control()};
    }
};

constexpr std::size_t kPairCount = 5;

// The controls of one pair: its frame, its two options (one group of their own) and the
// value control, a text box or a list.
template <typename ValueControl>
struct PairControls {
    explicit PairControls(const char* caption)
        : frame{caption}, windows_default{"Windows Default", group}, custom{"Custom", group} {}

    ui::Frame frame;
    ui::OptionGroup group;
    ui::Option windows_default;
    ui::Option custom;
    ValueControl value;
};

class TuningView {
  public:
    TuningView(TuningRecords records, ui::Beeper& beeper, TuningAreaHooks hooks);
    TuningView(const TuningView&) = delete;
    TuningView& operator=(const TuningView&) = delete;

    // Empties and fills every list, then shows the first connection type.
    void FillValueLists();
    // Enables or disables every tuning control, then empties them all.
    void SetTuningControlsEnabled(bool enabled);
    // What Restore writes (WindowsDefaultsToRestore) in the record and the controls; the
    // mode options and the connection type shown stay as they are.
    void ResetToWindowsDefaults();
    // Puts a Manual-mode CurrentSettings into the controls.
    void ShowManualValues();
    // The load's step that shows the loaded CurrentSettings (call while loading).
    void ShowSettingsInWindow();
    // Manual mode with a custom MTU of the given size: from Automatic mode a switch to
    // Manual (with its explanation) that keeps the preset's values as Custom ones; only the
    // MTU changes, and nothing is applied.
    void UseCustomMtu(int32_t found_mtu);
    // The record Apply takes: CurrentSettings as applied (AsApplied, kept in CurrentSettings
    // too), and in Manual mode no connection type when the list shows none, so that the
    // record's check refuses it.
    TuningSettings TakeValues();

    bool IsLoading() const { return is_loading_; }
    void SetLoading(bool loading) { is_loading_ = loading; }

    // Moves the whole area, as when the toolbar above it is hidden or shown (twips).
    void MoveBy(int dx, int dy);

    // The controls, each named after what it shows or sets, as are their IDs in the window.
    ui::Frame settings_frame{
        "Modify your Internet Settings in Order to improve your computer Networking "
        "Performance"};
    ui::Label connection_type_label{"Connection Type"};
    ui::ComboBox connection_type_list;
    ui::Label optimization_mode_label{"Optimization Mode"};
    ui::OptionGroup optimization_group;
    std::array<ui::Option, 2> optimization_mode{ui::Option{"Automatic", optimization_group},
                                                ui::Option{"Manual", optimization_group}};

    // The five pairs: each a frame, its two options and its value control.
    PairControls<ui::TextBox> mtu{" MTU (Max Transmission Unit)"};
    PairControls<ui::ComboBox> rwin{"RWIN (Receive Window)"};
    PairControls<ui::TextBox> ttl{"TTL (Time To Live)"};
    PairControls<ui::ComboBox> ska{"Session Keep Alive"};
    PairControls<ui::ComboBox> ndi{"NDI Cache"};

    ui::Frame general_frame{"General Settings"};
    ui::CheckBox path_mtu_discovery{"Path MTU Auto Discovery"};
    ui::CheckBox black_hole_detection{"Black Hole Routers Detect"};
    ui::Label http10_connections_label{"MSCPS Using HTTP 1.0"};
    ui::ComboBox http10_connections;
    ui::Label http11_connections_label{"MSCPS Using HTTP 1.1"};
    ui::ComboBox http11_connections;

    // The five pairs, MTU, RWIN, TTL, Session Keep Alive and NDI Cache, in this order.
    const std::array<TuningPair, kPairCount>& pairs() const { return pairs_; }

  private:
    std::array<TuningPair, kPairCount> MakePairs();
    void SetInitialState();
    void ConnectHandlers();
    void ConnectPair(const TuningPair& pair);
    void ConnectNumberBox(ui::TextBox& box, std::size_t max_chars);

    void ConnectionTypeChanged();
    void OptimizationModeSelected(int index);

    // Every control of the tuning area, for moving it as one.
    std::vector<ui::Control*> AllControls();

    // After the controls, which it refers to.
    const std::array<TuningPair, kPairCount> pairs_;
    TuningSettings& current_;
    TuningSettings& defaults_;
    const WindowsRelease& windows_release_;
    ui::Beeper& beeper_;
    TuningAreaHooks hooks_;
    bool is_loading_ = false;
};

}  // namespace zv::main_window
