#include "tuning/settings_window.h"

#include "common/flags.h"
#include "common/numbers.h"
#include "tuning/presets.h"
#include "tuning/value_lists.h"

namespace zv::tuning {
namespace {

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

}  // namespace

SettingsWindow::SettingsWindow(TuningRecords records, ui::Beeper& beeper, TuningAreaHooks hooks)
    : current_(records.current),
      defaults_(records.defaults),
      windows_family_(records.windows_family),
      beeper_(beeper),
      hooks_(std::move(hooks)) {
    SetInitialState();
    ConnectHandlers();
}

// The state of the controls when the window is created, before anything is loaded.
void SettingsWindow::SetInitialState() {
    optOptimization[0].Select();
    optMTU1.Select();
    optRWIN1.Select();
    optTTL1.Select();
    optSKA1.Select();
    optNDI1.Select();
    for (ui::Control* value_control :
         std::array<ui::Control*, 5>{&txtMTU, &cmbRWIN, &txtTTL, &cmbSKA, &cmbNDI}) {
        value_control->SetEnabled(false);
    }
    txtMTU.SetMaxLength(kMtuMaxChars);
    txtTTL.SetMaxLength(kTtlMaxChars);
}

void SettingsWindow::ConnectHandlers() {
    cmbNetType.on_change = [this] { cmbNetType_Change(); };
    optOptimization[0].on_select = [this] { optOptimization_Select(0); };
    optOptimization[1].on_select = [this] { optOptimization_Select(1); };
    ConnectPairHandlers();
    ConnectValueHandlers();
    ConnectNumberBox(txtMTU, kMtuMaxChars);
    ConnectNumberBox(txtTTL, kTtlMaxChars);
}

// "Windows Default" empties and locks the value control and takes the baseline's value;
// "Custom" unlocks it and marks the value as the user's own.
void SettingsWindow::ConnectPairHandlers() {
    optMTU1.on_select = [this] {
        txtMTU.SetEnabled(false);
        txtMTU.SetText("");
        current_.MTUCustom = false;
        current_.MTU = defaults_.MTU;
    };
    optMTU2.on_select = [this] {
        txtMTU.SetEnabled(true);
        current_.MTUCustom = true;
    };
    optRWIN1.on_select = [this] {
        cmbRWIN.SetEnabled(false);
        cmbRWIN.SetSelection(ui::kNoSelection);
        current_.RWINCustom = false;
        current_.RWINIndex = NoSelection;
        current_.RWIN = defaults_.RWIN;
    };
    optRWIN2.on_select = [this] {
        cmbRWIN.SetEnabled(true);
        current_.RWINCustom = true;
    };
    optTTL1.on_select = [this] {
        txtTTL.SetEnabled(false);
        txtTTL.SetText("");
        current_.TTLCustom = false;
        current_.TTL = defaults_.TTL;
    };
    optTTL2.on_select = [this] {
        txtTTL.SetEnabled(true);
        current_.TTLCustom = true;
    };
    optSKA1.on_select = [this] {
        cmbSKA.SetEnabled(false);
        cmbSKA.SetSelection(ui::kNoSelection);
        current_.SKACustom = false;
        current_.SKAIndex = NoSelection;
        current_.SKA = defaults_.SKA;
    };
    optSKA2.on_select = [this] {
        cmbSKA.SetEnabled(true);
        current_.SKACustom = true;
    };
    optNDI1.on_select = [this] {
        cmbNDI.SetEnabled(false);
        cmbNDI.SetSelection(ui::kNoSelection);
        current_.NDICustom = false;
        current_.NDIIndex = NoSelection;
        current_.NDI = defaults_.NDI;
    };
    optNDI2.on_select = [this] {
        cmbNDI.SetEnabled(true);
        current_.NDICustom = true;
    };
}

void SettingsWindow::ConnectValueHandlers() {
    txtMTU.on_change = [this] {
        if (optMTU2.selected()) {
            current_.MTU = NumberIn(txtMTU);
        }
    };
    txtTTL.on_change = [this] {
        if (optTTL2.selected()) {
            current_.TTL = NumberIn(txtTTL);
        }
    };
    // The RWIN follows the MTU held at the moment of the pick, not MTU - 40 as the presets'.
    cmbRWIN.on_change = [this] {
        if (optRWIN2.selected()) {
            current_.RWINIndex = PositionOf(cmbRWIN);
            current_.RWIN = CustomRwin(current_.RWINIndex, current_.MTU).value_or(NotSet);
        }
    };
    cmbSKA.on_change = [this] {
        if (optSKA2.selected()) {
            current_.SKAIndex = PositionOf(cmbSKA);
            current_.SKA = SkaAt(current_.SKAIndex).value_or(NotSet);
        }
    };
    cmbNDI.on_change = [this] {
        if (optNDI2.selected()) {
            current_.NDIIndex = PositionOf(cmbNDI);
            current_.NDI = NdiAt(current_.NDIIndex).value_or(NotSet);
        }
    };
    chkPMTU.on_change = [this] { current_.PMTU = CheckedToFlag(chkPMTU.value()); };
    chkBlackHole.on_change = [this] { current_.BlackHole = CheckedToFlag(chkBlackHole.value()); };
    cmbMSCPS0.on_change = [this] {
        current_.MSCPS0Index = PositionOf(cmbMSCPS0);
        current_.MSCPS0 = MscpsAt(current_.MSCPS0Index).value_or(0);
    };
    cmbMSCPS1.on_change = [this] {
        current_.MSCPS1Index = PositionOf(cmbMSCPS1);
        current_.MSCPS1 = MscpsAt(current_.MSCPS1Index).value_or(0);
    };
}

// Only digits reach the box, typed or pasted; anything else is refused with a beep.
void SettingsWindow::ConnectNumberBox(ui::TextBox& box, std::size_t max_chars) {
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

void SettingsWindow::cmbNetType_Change() {
    int16_t picked = PositionOf(cmbNetType);
    if (picked == NoSelection || picked == current_.ConnectionType) {
        return;
    }
    current_.ConnectionType = picked;
    if (optOptimization[1].selected()) {
        return;
    }
    ApplyPreset(current_, picked, windows_family_);
    if (hooks_.apply) {
        hooks_.apply();
    }
}

void SettingsWindow::optOptimization_Select(int index) {
    if (is_loading_) {
        return;
    }
    current_.OptiMode = static_cast<int16_t>(index);
    if (index == ManualMode) {
        SetTuningControlsEnabled(true);
        ResetToWindowsDefaults();
        if (hooks_.show_explanation) {
            hooks_.show_explanation(cmbNetType.SelectedText());
        }
    } else {
        SetTuningControlsEnabled(false);
        ApplyPreset(current_, current_.ConnectionType, windows_family_);
    }
    if (hooks_.show_mode) {
        hooks_.show_mode(optOptimization[index].caption());
    }
}

void SettingsWindow::FillValueLists() {
    Fill(cmbNetType, ConnectionTypeItems());
    Fill(cmbRWIN, RwinItems());
    Fill(cmbSKA, SkaItems());
    Fill(cmbNDI, NdiItems());
    Fill(cmbMSCPS0, MscpsItems());
    Fill(cmbMSCPS1, MscpsItems());
    cmbNetType.SetSelection(0);
}

void SettingsWindow::SetTuningControlsEnabled(bool enabled) {
    for (ui::Control* control : std::array<ui::Control*, 27>{
             &Frame2,    &Frame3,   &Frame4,   &Frame5,       &Frame6,  &Frame7,  &optMTU1,
             &optMTU2,   &optRWIN1, &optRWIN2, &optTTL1,      &optTTL2, &optSKA1, &optSKA2,
             &optNDI1,   &optNDI2,  &chkPMTU,  &chkBlackHole, &txtMTU,  &txtTTL,  &cmbMSCPS0,
             &cmbMSCPS1, &cmbNDI,   &cmbRWIN,  &cmbSKA,       &Label3,  &Label4}) {
        control->SetEnabled(enabled);
    }
    for (ui::Option* option : {&optMTU1, &optMTU2, &optRWIN1, &optRWIN2, &optTTL1, &optTTL2,
                               &optSKA1, &optSKA2, &optNDI1, &optNDI2}) {
        option->Deselect();
    }
    chkPMTU.SetValue(kUnchecked);
    chkBlackHole.SetValue(kUnchecked);
    txtMTU.SetText("");
    txtTTL.SetText("");
    for (ui::ComboBox* list : {&cmbMSCPS0, &cmbMSCPS1, &cmbNDI, &cmbRWIN, &cmbSKA}) {
        list->SetSelection(ui::kNoSelection);
    }
}

void SettingsWindow::ResetToWindowsDefaults() {
    defaults_.OptiMode = ManualMode;
    // The record keeps the connection type the list shows: it is what Apply saves and
    // what the list's handler compares a new pick with.
    defaults_.ConnectionType = current_.ConnectionType;
    current_ = defaults_;
    for (ui::Option* windows_default : {&optMTU1, &optRWIN1, &optTTL1, &optSKA1, &optNDI1}) {
        windows_default->Select();
    }
    chkPMTU.SetValue(kChecked);
    chkBlackHole.SetValue(kUnchecked);
    cmbMSCPS0.SetSelection(0);
    cmbMSCPS1.SetSelection(2);
}

void SettingsWindow::ShowPair(bool custom, ui::Option& windows_default, ui::Option& custom_option) {
    if (custom) {
        custom_option.Select();
    } else {
        windows_default.Select();
    }
}

void SettingsWindow::ShowManualValues() {
    ShowPair(current_.MTUCustom, optMTU1, optMTU2);
    ShowPair(current_.RWINCustom, optRWIN1, optRWIN2);
    ShowPair(current_.TTLCustom, optTTL1, optTTL2);
    ShowPair(current_.SKACustom, optSKA1, optSKA2);
    ShowPair(current_.NDICustom, optNDI1, optNDI2);
    // Each handler stores its value again; the RWIN is reckoned anew from the MTU shown.
    if (current_.MTUCustom) {
        txtMTU.SetText(std::to_string(current_.MTU));
    }
    if (current_.RWINCustom) {
        cmbRWIN.SetSelection(current_.RWINIndex);
    }
    if (current_.TTLCustom) {
        txtTTL.SetText(std::to_string(current_.TTL));
    }
    if (current_.SKACustom) {
        cmbSKA.SetSelection(current_.SKAIndex);
    }
    if (current_.NDICustom) {
        cmbNDI.SetSelection(current_.NDIIndex);
    }
    chkPMTU.SetValue(FlagToChecked(current_.PMTU));
    chkBlackHole.SetValue(FlagToChecked(current_.BlackHole));
    cmbMSCPS0.SetSelection(current_.MSCPS0Index);
    cmbMSCPS1.SetSelection(current_.MSCPS1Index);
}

void SettingsWindow::ShowSettingsInWindow() {
    cmbNetType.SetSelection(current_.ConnectionType);
    if (current_.OptiMode == ManualMode) {
        optOptimization[1].Select();
        ShowManualValues();
    } else {
        optOptimization[0].Select();
        SetTuningControlsEnabled(false);
        ApplyPreset(current_, current_.ConnectionType, windows_family_);
    }
    // At load the automatic mode is named "Optimize"; a user's choice shows its caption.
    if (hooks_.show_mode) {
        hooks_.show_mode(optOptimization[0].selected() ? "Optimize" : "Manual");
    }
}

TuningSettings SettingsWindow::TakeValues() {
    current_ = AsApplied(current_);
    TuningSettings taken = current_;
    // The list's handler keeps the last type picked when the list is emptied; Apply must
    // still see that nothing is chosen. In Automatic mode the record is the preset of the
    // type held, which is what the user sees applied.
    if (current_.OptiMode == ManualMode && cmbNetType.selection() == ui::kNoSelection) {
        taken.ConnectionType = NoSelection;
    }
    return taken;
}

std::array<ui::Control*, 33> SettingsWindow::AllControls() {
    return {&Frame1,
            &Label1,
            &cmbNetType,
            &Label2,
            &optOptimization[0],
            &optOptimization[1],
            &Frame2,
            &optMTU1,
            &optMTU2,
            &txtMTU,
            &Frame3,
            &optRWIN1,
            &optRWIN2,
            &cmbRWIN,
            &Frame4,
            &optTTL1,
            &optTTL2,
            &txtTTL,
            &Frame5,
            &optSKA1,
            &optSKA2,
            &cmbSKA,
            &Frame6,
            &optNDI1,
            &optNDI2,
            &cmbNDI,
            &Frame7,
            &chkPMTU,
            &chkBlackHole,
            &Label3,
            &cmbMSCPS0,
            &Label4,
            &cmbMSCPS1};
}

void SettingsWindow::MoveBy(int dx, int dy) {
    for (ui::Control* control : AllControls()) {
        control->MoveBy(dx, dy);
    }
}

}  // namespace zv::tuning
