#include "sysconfig/settings_file.h"

#include "sysconfig/settings_file_reader.h"
#include "sysconfig/snapshots.h"
#include "sysconfig/tcp_parameters.h"
#include "tuning/presets.h"
#include "tuning/value_lists.h"

namespace zv {
namespace {

class LineWriter {
  public:
    LineWriter& Key(const char* key) {
        text_ += key;
        return *this;
    }
    LineWriter& Field(int32_t number) {
        text_ += ',' + std::to_string(number);
        return *this;
    }
    LineWriter& Field(bool flag) {
        text_ += flag ? ",#TRUE#" : ",#FALSE#";
        return *this;
    }
    LineWriter& End() {
        text_ += "\r\n";
        return *this;
    }
    std::string text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace

std::string FormatSettingsFile(const TuningSettings& s) {
    LineWriter out;
    out.Key("ConnectionType").Field(s.ConnectionType).End();
    out.Key("OptiMode").Field(s.OptimizationMode).End();
    if (s.OptimizationMode == ManualMode) {
        out.Key("MTU").Field(s.MTUCustom).Field(s.MTU).End();
        out.Key("RWIN").Field(s.RWINCustom).Field(s.RWINIndex).Field(s.RWIN).End();
        out.Key("TTL").Field(s.TTLCustom).Field(s.TTL).End();
        out.Key("SKA").Field(s.SKACustom).Field(s.SKAIndex).Field(s.SKA).End();
        out.Key("NDI").Field(s.NDICustom).Field(s.NDIIndex).Field(s.NDI).End();
        out.Key("PMTU").Field(s.PMTU).End();
        out.Key("BlackHole").Field(s.BlackHole).End();
        out.Key("MSCPS0").Field(s.Http10ConnectionsIndex).Field(s.Http10Connections).End();
        out.Key("MSCPS1").Field(s.Http11ConnectionsIndex).Field(s.Http11Connections).End();
    }
    return out.text();
}

// The interfaces are listed once: an adapter that appears during the change is neither
// recorded nor written. A change that did not happen leaves no snapshot and prunes none.
ApplyResult SaveSettingsAndApply(FileSystem& files, FolderPort& folders, RegistryPort& registry,
                                 const std::string& program_directory,
                                 const TuningSettings& settings, WindowsRelease windows_release) {
    const TuningSettings applied = AsApplied(settings);
    const std::vector<CatalogueRow> rows = CatalogueRows(registry, windows_release);
    RecordedSnapshot snapshot = RecordSnapshot({files, folders, registry}, program_directory, rows);
    if (snapshot.outcome == SnapshotRecord::ValuesUnreadable) {
        return ApplyResult::ValuesUnreadable;
    }
    if (snapshot.outcome != SnapshotRecord::Recorded) {
        return ApplyResult::SnapshotNotWritten;
    }
    const std::string path = program_directory + kSettingsFileName;
    if (!files.WriteFileAtomic(path, FormatSettingsFile(applied))) {
        DiscardSnapshot(folders, snapshot);
        return ApplyResult::FileNotWritten;
    }
    // The first snapshot grows only once Zorvane.cfg is written; without it, Zorvane.cfg
    // goes back and nothing is left changed.
    if (!KeepSnapshot({files, folders, registry}, program_directory, snapshot, rows, {})) {
        const std::optional<std::string>& before = snapshot.snapshot.settings_file;
        if (before) {
            files.WriteFileAtomic(path, *before);
        } else {
            folders.RemoveFile(path);
        }
        DiscardSnapshot(folders, snapshot);
        return ApplyResult::SnapshotNotWritten;
    }
    if (!WriteTcpParameters(registry, applied, rows)) {
        return ApplyResult::RegistryRefused;
    }
    return ApplyResult::Applied;
}

void LoadSettings(const FileSystem& files, const std::string& program_directory,
                  const TuningSettings& defaults, TuningSettings& current) {
    std::string path = program_directory + kSettingsFileName;
    if (!files.FileExists(path)) {
        current = defaults;
        return;
    }
    auto text = files.ReadFile(path);
    auto loaded = text ? ParseSettingsFile(*text, current) : std::nullopt;
    current = loaded ? *loaded : defaults;
}

std::optional<TuningSettings> SavedChoice(const FileSystem& files,
                                          const std::string& program_directory,
                                          const TuningSettings& defaults,
                                          WindowsRelease windows_release) {
    std::string path = program_directory + kSettingsFileName;
    std::optional<TuningSettings> choice = defaults;
    if (files.FileExists(path)) {
        auto text = files.ReadFile(path);
        choice = text ? ParseSettingsFile(*text, defaults) : std::nullopt;
    }
    if (choice && choice->OptimizationMode != ManualMode) {
        ApplyPreset(*choice, choice->ConnectionType, windows_release);
    }
    return choice;
}

}  // namespace zv
