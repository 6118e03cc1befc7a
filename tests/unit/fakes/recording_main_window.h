// The main window's ports without a window: each dialog and the close are recorded as one
// call, in order; the dialogs that hand something back answer what the test put in place.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "main_window/main_view.h"

namespace zv::testing {

class RecordingMainWindow : public main_window::MainWindowPort {
  public:
    // How a dialog that hands nothing back is recorded: by its value, so that a new one
    // needs nothing here.
    static std::string DialogCall(main_window::main_menu::Dialog dialog) {
        return "dialog " + std::to_string(static_cast<int>(dialog));
    }

    std::vector<std::string> calls;
    std::function<std::vector<ReportRow>()> read_report;
    std::string export_path;  // what the save dialog hands back; empty is Cancel
    int found_mtu = 0;        // what Find Largest MTU hands back

    void ShowExplanation(const std::string& type) override { calls.push_back("explain " + type); }
    void ShowDialog(main_window::main_menu::Dialog dialog) override {
        calls.push_back(DialogCall(dialog));
    }
    void ShowCurrentSettings(std::function<std::vector<ReportRow>()> read) override {
        calls.push_back("current settings");
        read_report = std::move(read);
    }
    std::string ChooseExportFile() override {
        calls.push_back("choose export");
        return export_path;
    }
    int ShowMtuFinder(const std::string& host) override {
        calls.push_back("mtu finder " + host);
        return found_mtu;
    }
    void Close() override { calls.push_back("close"); }
    void ShowTipDialog() override { calls.push_back("tip modeless"); }
};

}  // namespace zv::testing
