#include "main_window/tuning_view.h"

#include "common/flags.h"
#include "common/numbers.h"
#include "tuning/presets.h"
#include "tuning/value_lists.h"

namespace zv::main_window {
namespace {

// The longest texts the two number boxes take: every MTU and TTL the program accepts fits.
constexpr std::size_t kMtuMaxChars = 5;
constexpr std::size_t kTtlMaxChars = 3;

PairFields Typed(bool TuningSettings::*custom, int32_t TuningSettings::*value,
                 std::size_t max_chars) {
    return PairFields{custom, value, nullptr, max_chars, nullptr, nullptr};
}

PairFields Picked(bool TuningSettings::*custom, int32_t TuningSettings::*value,
                  int16_t TuningSettings::*position, std::vector<std::string> (*items)(),
                  std::optional<int32_t> (*value_at)(int16_t, const TuningSettings&)) {
    return PairFields{custom, value, position, 0, items, value_at};
}

TuningPair Pair(PairControls<ui::TextBox>& typed, PairFields fields) {
    return {typed.frame, typed.windows_default, typed.custom, &typed.value, nullptr, fields};
}

TuningPair Pair(PairControls<ui::ComboBox>& picked, PairFields fields) {
    return {picked.frame, picked.windows_default, picked.custom, nullptr, &picked.value, fields};
}

// The RWIN follows the MTU held at the moment of the pick, not MTU - 40 as the presets'.
std::optional<int32_t> RwinAt(int16_t position, const TuningSettings& current) {
    return CustomRwin(position, current.MTU);
}

std::optional<int32_t> SkaOf(int16_t position, const TuningSettings&) {
    return SkaAt(position);
}

std::optional<int32_t> NdiOf(int16_t position, const TuningSettings&) {
    return NdiAt(position);
}

void Fill(ui::ComboBox& list, const std::vector<std::string>& items) {
    list.Clear();
    for (const std::string& item : items) {
        list.AddItem(item);
    }
}

// The number the box shows; its filters let only digits in, and an empty box reads 0.
int32_t NumberIn(const ui::TextBox& box) {
    return ParseInt32(box.text()).value_or(0);
}

// A position as the record keeps it (16-bit, -1 for none).
int16_t PositionOf(const ui::ComboBox& list) {
    return static_cast<int16_t>(list.selection());
}

// The values of a preset, each one it sets marked as the user's own, for Manual mode.
TuningSettings PresetAsCustom(TuningSettings preset) {
    preset.OptimizationMode = ManualMode;
    preset.MTUCustom = preset.MTU != NotSet;
    preset.RWINCustom = preset.RWIN != NotSet && preset.RWINIndex != NoSelection;
    preset.TTLCustom = preset.TTL != NotSet;
    preset.SKACustom = preset.SKA != NotSet && preset.SKAIndex != NoSelection;
    preset.NDICustom = preset.NDI != NotSet && preset.NDIIndex != NoSelection;
    return preset;
}

void EmptyValueControl(const TuningPair& pair) {
    if (pair.text != nullptr) {
        pair.text->SetText("");
    } else {
        pair.list->SetSelection(ui::kNoSelection);
    }
}

}  // namespace

TuningView::TuningView(TuningRecords records, ui::Beeper& beeper, TuningAreaHooks hooks)
    : pairs_(MakePairs()),
      current_(records.current),
      defaults_(records.defaults),
      windows_release_(records.windows_release),
      beeper_(beeper),
      hooks_(std::move(hooks)) {
    SetInitialState();
    ConnectHandlers();
}

std::array<TuningPair, kPairCount> TuningView::MakePairs() {
    using S = TuningSettings;
    return {Pair(mtu, Typed(&S::MTUCustom, &S::MTU, kMtuMaxChars)),
            Pair(rwin, Picked(&S::RWINCustom, &S::RWIN, &S::RWINIndex, RwinItems, RwinAt)),
            Pair(ttl, Typed(&S::TTLCustom, &S::TTL, kTtlMaxChars)),
            Pair(ska, Picked(&S::SKACustom, &S::SKA, &S::SKAIndex, SkaItems, SkaOf)),
            Pair(ndi, Picked(&S::NDICustom, &S::NDI, &S::NDIIndex, NdiItems, NdiOf))};
}

// The state of the controls when the window is created, before anything is loaded.
void TuningView::SetInitialState() {
    optimization_mode[0].Select();
    for (const TuningPair& pair : pairs_) {
        pair.windows_default.Select();
        pair.value_control().SetEnabled(false);
    }
}

void TuningView::ConnectHandlers() {
    connection_type_list.on_change = [this] { ConnectionTypeChanged(); };
    optimization_mode[0].on_select = [this] { OptimizationModeSelected(0); };
    optimization_mode[1].on_select = [this] { OptimizationModeSelected(1); };
    for (const TuningPair& pair : pairs_) {
        ConnectPair(pair);
    }
    path_mtu_discovery.on_change = [this] {
        current_.PMTU = CheckedToFlag(path_mtu_discovery.value());
    };
    black_hole_detection.on_change = [this] {
        current_.BlackHole = CheckedToFlag(black_hole_detection.value());
    };
    http10_connections.on_change = [this] {
        current_.Http10ConnectionsIndex = PositionOf(http10_connections);
        current_.Http10Connections = MscpsAt(current_.Http10ConnectionsIndex).value_or(0);
    };
    http11_connections.on_change = [this] {
        current_.Http11ConnectionsIndex = PositionOf(http11_connections);
        current_.Http11Connections = MscpsAt(current_.Http11ConnectionsIndex).value_or(0);
    };
}

// "Windows Default" empties and locks the value control and takes the baseline's value;
// "Custom" unlocks it and marks the value as the user's own, which the value control then
// stores as it changes. The pair lives as long as the window, so the handlers keep it.
void TuningView::ConnectPair(const TuningPair& pair) {
    const PairFields& fields = pair.fields;
    pair.windows_default.on_select = [this, &pair, &fields] {
        pair.value_control().SetEnabled(false);
        EmptyValueControl(pair);
        current_.*fields.custom = false;
        if (fields.position != nullptr) {
            current_.*fields.position = NoSelection;
        }
        current_.*fields.value = defaults_.*fields.value;
    };
    pair.custom.on_select = [this, &pair, &fields] {
        pair.value_control().SetEnabled(true);
        current_.*fields.custom = true;
    };
    if (pair.text != nullptr) {
        ConnectNumberBox(*pair.text, fields.max_chars);
        pair.text->on_change = [this, &pair, &fields] {
            if (pair.custom.selected()) {
                current_.*fields.value = NumberIn(*pair.text);
            }
        };
        return;
    }
    pair.list->on_change = [this, &pair, &fields] {
        if (pair.custom.selected()) {
            int16_t position = PositionOf(*pair.list);
            current_.*fields.position = position;
            current_.*fields.value = fields.value_at(position, current_).value_or(NotSet);
        }
    };
}

// Only digits reach the box, typed or pasted; anything else is refused with a beep.
void TuningView::ConnectNumberBox(ui::TextBox& box, std::size_t max_chars) {
    box.SetMaxLength(max_chars);
    box.on_key_press = [this](char key) {
        if ((key >= '0' && key <= '9') || key == ui::kBackspace) {
            return true;
        }
        beeper_.Beep();
        return false;
    };
    box.on_paste = [this](const std::string& text) {
        if (text.empty() || IsAllDigits(text)) {
            return true;
        }
        beeper_.Beep();
        return false;
    };
}

void TuningView::ConnectionTypeChanged() {
    int16_t picked = PositionOf(connection_type_list);
    if (picked == NoSelection || picked == current_.ConnectionType) {
        return;
    }
    current_.ConnectionType = picked;
    if (optimization_mode[1].selected()) {
        return;
    }
    // After a Restore the tuning controls are open although Automatic is selected; the
    // preset now takes over, so they close as Automatic mode has them, and no value left
    // in them reaches the registry without reaching the file.
    SetTuningControlsEnabled(false);
    ApplyPreset(current_, picked, windows_release_);
    if (hooks_.apply) {
        hooks_.apply();
    }
}

void TuningView::OptimizationModeSelected(int index) {
    if (is_loading_) {
        return;
    }
    current_.OptimizationMode = static_cast<int16_t>(index);
    if (index == ManualMode) {
        SetTuningControlsEnabled(true);
        ResetToWindowsDefaults();
        if (hooks_.show_explanation) {
            hooks_.show_explanation(connection_type_list.SelectedText());
        }
    } else {
        SetTuningControlsEnabled(false);
        ApplyPreset(current_, current_.ConnectionType, windows_release_);
    }
    if (hooks_.show_mode) {
        hooks_.show_mode(optimization_mode[index].caption());
    }
}

void TuningView::FillValueLists() {
    Fill(connection_type_list, ConnectionTypeItems());
    for (const TuningPair& pair : pairs_) {
        if (pair.list != nullptr) {
            Fill(*pair.list, pair.fields.items());
        }
    }
    Fill(http10_connections, MscpsItems());
    Fill(http11_connections, MscpsItems());
    connection_type_list.SetSelection(0);
}

void TuningView::SetTuningControlsEnabled(bool enabled) {
    for (const TuningPair& pair : pairs_) {
        for (ui::Control* control : pair.controls()) {
            control->SetEnabled(enabled);
        }
    }
    for (ui::Control* control : std::array<ui::Control*, 7>{
             &general_frame, &path_mtu_discovery, &black_hole_detection, &http10_connections,
             &http11_connections, &http10_connections_label, &http11_connections_label}) {
        control->SetEnabled(enabled);
    }
    // Emptied with no option selected, the value controls store nothing; the check boxes
    // and the connection lists store their empty state.
    for (const TuningPair& pair : pairs_) {
        pair.windows_default.Deselect();
        pair.custom.Deselect();
    }
    path_mtu_discovery.SetValue(kUnchecked);
    black_hole_detection.SetValue(kUnchecked);
    for (const TuningPair& pair : pairs_) {
        EmptyValueControl(pair);
    }
    http10_connections.SetSelection(ui::kNoSelection);
    http11_connections.SetSelection(ui::kNoSelection);
}

void TuningView::ResetToWindowsDefaults() {
    defaults_.OptimizationMode = ManualMode;
    // The record keeps the connection type the list shows: it is what Apply saves and
    // what the list's handler compares a new pick with.
    defaults_.ConnectionType = current_.ConnectionType;
    current_ = WindowsDefaultsToRestore(defaults_, current_.ConnectionType);
    ShowManualValues();
}

void TuningView::ShowManualValues() {
    for (const TuningPair& pair : pairs_) {
        (current_.*pair.fields.custom ? pair.custom : pair.windows_default).Select();
    }
    // Each handler stores its value again; the RWIN is reckoned anew from the MTU shown.
    for (const TuningPair& pair : pairs_) {
        if (!(current_.*pair.fields.custom)) {
            continue;
        }
        if (pair.text != nullptr) {
            pair.text->SetText(std::to_string(current_.*pair.fields.value));
        } else {
            pair.list->SetSelection(current_.*pair.fields.position);
        }
    }
    path_mtu_discovery.SetValue(FlagToChecked(current_.PMTU));
    black_hole_detection.SetValue(FlagToChecked(current_.BlackHole));
    http10_connections.SetSelection(current_.Http10ConnectionsIndex);
    http11_connections.SetSelection(current_.Http11ConnectionsIndex);
}

void TuningView::UseCustomMtu(int32_t found_mtu) {
    if (!optimization_mode[ManualMode].selected()) {
        // Automatic mode holds the preset of the type shown; the switch resets to the Windows
        // defaults, so the preset comes back as the user's own values, or the next Apply
        // would throw its tuning away.
        TuningSettings preset = current_;
        optimization_mode[ManualMode].Select();
        current_ = PresetAsCustom(preset);
        ShowManualValues();
        // Showing reckons the RWIN from the MTU, where the preset took the MTU less 40.
        current_.RWIN = preset.RWIN;
    }
    mtu.custom.Select();
    mtu.value.SetText(std::to_string(found_mtu));
}

void TuningView::ShowSettingsInWindow() {
    connection_type_list.SetSelection(current_.ConnectionType);
    if (current_.OptimizationMode == ManualMode) {
        optimization_mode[1].Select();
        ShowManualValues();
    } else {
        optimization_mode[0].Select();
        SetTuningControlsEnabled(false);
        ApplyPreset(current_, current_.ConnectionType, windows_release_);
    }
    // At load the automatic mode is named "Optimize"; a user's choice shows its caption.
    if (hooks_.show_mode) {
        hooks_.show_mode(optimization_mode[0].selected() ? "Optimize" : "Manual");
    }
}

TuningSettings TuningView::TakeValues() {
    current_ = AsApplied(current_);
    TuningSettings taken = current_;
    // The list's handler keeps the last type picked when the list is emptied; Apply must
    // still see that nothing is chosen. In Automatic mode the record is the preset of the
    // type held, which is what the user sees applied.
    if (current_.OptimizationMode == ManualMode &&
        connection_type_list.selection() == ui::kNoSelection) {
        taken.ConnectionType = NoSelection;
    }
    return taken;
}

std::vector<ui::Control*> TuningView::AllControls() {
    std::vector<ui::Control*> controls = {&settings_frame,       &connection_type_label,
                                          &connection_type_list, &optimization_mode_label,
                                          &optimization_mode[0], &optimization_mode[1]};
    for (const TuningPair& pair : pairs_) {
        std::array<ui::Control*, 4> of_pair = pair.controls();
        controls.insert(controls.end(), of_pair.begin(), of_pair.end());
    }
    controls.insert(controls.end(), {&general_frame, &path_mtu_discovery, &black_hole_detection,
                                     &http10_connections_label, &http10_connections,
                                     &http11_connections_label, &http11_connections});
    return controls;
}

void TuningView::MoveBy(int dx, int dy) {
    for (ui::Control* control : AllControls()) {
        control->MoveBy(dx, dy);
    }
}

}  // namespace zv::main_window
