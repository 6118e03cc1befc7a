// The registry backup's Windows services in memory: a save dialog that answers from a
// script, a folder of files, and a registry editor that writes the export file made last.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sysconfig/system_ports.h"

namespace zv::testing {

class ScriptedBackup : public sysconfig::BackupPort {
  public:
    std::string chosen;  // the dialog's answer; "" as when cancelled
    std::string initial_folder;
    std::map<std::string, std::string> files;
    std::vector<std::string> commands;
    int window_style = -1;
    std::optional<uint32_t> exit_code = 0u;  // regedit's; nothing when it cannot start
    std::string exported = "REGEDIT4\r\n";   // what regedit writes
    bool no_temporary_file = false;
    bool replace_fails = false;

    std::string ChooseBackupFile(const std::string& folder) override {
        initial_folder = folder;
        return chosen;
    }
    std::string WindowsFolder() override { return "C:\\windows"; }
    std::optional<uint32_t> RunAndWait(const std::string& command_line, int style) override {
        commands.push_back(command_line);
        window_style = style;
        if (exit_code) {
            files[last_temporary_] = exported;
        }
        return exit_code;
    }
    std::optional<uint64_t> FileSize(const std::string& path) override {
        return files.count(path) ? std::optional<uint64_t>(files[path].size()) : std::nullopt;
    }
    std::string CreateTemporaryFile(const std::string& folder) override {
        if (no_temporary_file) {
            return "";
        }
        last_temporary_ = folder + "\\zv" + std::to_string(files.size() + 1) + ".tmp";
        files[last_temporary_] = "";
        return last_temporary_;
    }
    bool ReplaceFile(const std::string& from, const std::string& to) override {
        if (replace_fails || files.count(from) == 0) {
            return false;
        }
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void RemoveFile(const std::string& path) override { files.erase(path); }

  private:
    std::string last_temporary_;
};

}  // namespace zv::testing
