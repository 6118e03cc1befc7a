// The main window driven by a random sequence of what a user can do to its settings: pick
// list items, select options, type and paste into the number boxes, tick check boxes,
// Apply and Restore, over any saved choice and on a 9x or an NT release. Whatever the
// sequence, every Apply either refuses with the message of the first rule the choice
// breaks and writes nothing, or saves a file that the next start loads back to the same
// choice, the very record that was applied and written into the registry.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fakes/memory_file_system.h"
#include "fakes/lone_tuning_area.h"
#include "fakes/memory_folders.h"
#include "fakes/memory_tip_option.h"
#include "fakes/recording_launcher.h"
#include "fakes/recording_main_window.h"
#include "fakes/recording_ui.h"
#include "fakes/scripted_backup.h"
#include "fakes/scripted_ping_ports.h"
#include "fakes/scripted_restart.h"
#include "fuzz_check.h"
#include "main_window/main_view.h"
#include "sysconfig/saved_choice_rules.h"
#include "sysconfig/settings_file.h"
#include "sysconfig/settings_file_reader.h"

namespace {

using zv::fuzz::Escape;
namespace launch = zv::launch;
namespace main_window = zv::main_window;

constexpr char kFolder[] = "C:\\Zorvane";
constexpr int kMostActions = 40;

// Counts what reaches the registry and keeps nothing: what the registry gets is a function
// of the applied record, which the checks compare instead.
class CountingRegistry : public zv::RegistryPort {
  public:
    int changes = 0;
    int32_t CreateKey(zv::RegistryRoot, const std::string&, zv::RegistryKey* key) override {
        *key = 1;
        return zv::kErrorSuccess;
    }
    int32_t SetValue(zv::RegistryKey, const std::string&, uint32_t, const std::string&) override {
        ++changes;
        return zv::kErrorSuccess;
    }
    int32_t DeleteValue(zv::RegistryKey, const std::string&) override {
        ++changes;
        return zv::kErrorSuccess;
    }
    int32_t OpenKey(zv::RegistryRoot, const std::string&, zv::RegistryKey* key) override {
        *key = 1;
        return zv::kErrorSuccess;
    }
    int32_t EnumKey(zv::RegistryKey, uint32_t index, std::string* name) override {
        *name = "{adapter}";
        return index == 0 ? zv::kErrorSuccess : zv::kErrorNoMoreItems;
    }
    int32_t CloseKey(zv::RegistryKey) override { return zv::kErrorSuccess; }
    int32_t QueryValue(zv::RegistryKey, const std::string&, uint32_t*, std::string*) override {
        return zv::kErrorFileNotFound;
    }
    int32_t CountEntries(zv::RegistryKey, uint32_t* subkeys, uint32_t* values) override {
        *subkeys = *values = 0;
        return zv::kErrorSuccess;
    }
    int32_t DeleteKey(zv::RegistryRoot, const std::string&) override {
        ++changes;
        return zv::kErrorSuccess;
    }
};

// Every field of a record: its mode, then the rest as a Manual-mode file holds them.
std::string Described(zv::TuningSettings settings) {
    std::string mode = "mode " + std::to_string(settings.OptimizationMode) + " ";
    settings.OptimizationMode = zv::ManualMode;
    return mode + Escape(zv::FormatSettingsFile(settings));
}

// The main window over in-memory ports, built and loaded once; Start puts a saved choice
// in place and shows it as the next start would.
struct Program {
    zv::testing::RecordingMainWindow window_port;  // every save dialog cancelled
    zv::testing::RecordingMessageBox messages;
    zv::testing::CountingEventPump pump;
    zv::testing::CountingBeeper beeper;
    zv::testing::MemoryFileSystem files;
    zv::testing::MemoryFolders folders{files};
    CountingRegistry registry;
    zv::testing::ScriptedRestart restart;
    zv::testing::ScriptedBackup backup;            // every backup cancelled
    zv::testing::MemoryTipOption tip_option{"0"};  // no tip before the window
    zv::testing::RecordingLauncher launcher;
    launch::Launchers launchers{launcher, kFolder};
    zv::testing::ScriptedSockets sockets;
    zv::testing::ScriptedEcho echo{sockets};
    zv::testing::RecordingSound sound;
    zv::testing::InlinePingWorker pinger{sockets, echo};
    zv::ping::KeepAlivePing ping{{pinger, sound, files, messages}, kFolder, "Zorvane"};
    main_window::ProgramRecords records;
    main_window::MainView window{
        records,
        main_window::MainWindowPorts{window_port, messages, pump, beeper, files, folders, registry,
                                     restart, backup, tip_option, launchers, ping}};
    const std::string settings_path = std::string(kFolder) + zv::kSettingsFileName;

    Program() {
        records.ProgramDirectory = kFolder;
        window.LoadMainWindow();
        window.ShowMainWindow();
    }

    void Start(zv::WindowsRelease release, const std::string& saved) {
        records.WindowsRelease = release;
        records.CurrentSettings = zv::TuningSettings{};
        records.DefaultSettings = zv::InitialDefaultSettings();
        files.files.clear();
        files.files[settings_path] = saved;
        messages.shown.clear();
        window_port.calls.clear();
        zv::LoadSettings(files, kFolder, records.DefaultSettings, records.CurrentSettings);
        window.area.SetLoading(true);
        window.area.ShowSettingsInWindow();
        window.area.SetLoading(false);
    }
};

Program& TheProgram() {
    static Program program;
    return program;
}

// A second settings area that shows a saved file as the next start would.
struct NextStart : zv::testing::LoneTuningArea {
    NextStart() : LoneTuningArea(zv::WindowsRelease::Unrecognised) {}

    zv::TuningSettings Load(zv::WindowsRelease running, const zv::TuningSettings& loaded) {
        release = running;
        defaults = zv::InitialDefaultSettings();
        return Show(loaded);
    }
};

// Runs one action that may save (Apply, Restore, a type picked in Automatic mode) and
// checks what it left: nothing in the registry without a save; a saved file that the
// next start shows as exactly the record that was applied, and so writes into the
// registry what this Apply wrote.
template <typename Action>
void CheckSave(Program& p, Action act) {
    static NextStart next_start;
    const size_t shown_before = p.messages.shown.size();
    const int writes_before = p.files.writes;
    const int registry_changes_before = p.registry.changes;
    act();
    if (p.files.writes == writes_before) {
        FUZZ_CHECK(p.registry.changes == registry_changes_before,
                   "the registry changed without a save");
        return;
    }
    FUZZ_CHECK(p.messages.shown.size() > shown_before, "saved without telling the user");
    const std::string& saved = p.files.files[p.settings_path];
    auto loaded = zv::ParseSettingsFile(saved, zv::TuningSettings{});
    FUZZ_CHECK(loaded.has_value(), "the next start refuses " + Escape(saved));
    const zv::TuningSettings shown = next_start.Load(p.records.WindowsRelease, *loaded);
    FUZZ_CHECK(zv::FormatSettingsFile(shown) == saved,
               "saved " + Escape(saved) + " shown " + Escape(zv::FormatSettingsFile(shown)));
    // What was applied, as Apply takes it (taking it again changes nothing).
    const zv::TuningSettings applied = p.window.area.TakeValues();
    FUZZ_CHECK(shown == applied,
               "applied " + Described(applied) + " but the next start shows " + Described(shown));
}

void Apply(Program& p) {
    if (!p.window.cmdApply.enabled()) {
        return;
    }
    const size_t shown_before = p.messages.shown.size();
    const int writes_before = p.files.writes;
    CheckSave(p, [&] { p.window.cmdApply.Click(); });
    // The record Apply took; taking it again changes nothing.
    const zv::TuningSettings values = p.window.area.TakeValues();
    std::optional<std::string> failure;
    if (values.OptimizationMode == zv::ManualMode) {
        failure = zv::ManualSettingsFailure(values);
    }
    if (failure) {
        FUZZ_CHECK(p.files.writes == writes_before, "saved despite " + *failure);
        FUZZ_CHECK(
            p.messages.shown.size() == shown_before + 1 && p.messages.shown.back().text == *failure,
            "expected the message " + Escape(*failure));
    } else {
        // The snapshot of what it replaces, the first snapshot where this Apply adds to it
        // (the first Apply, or one that reaches a value it does not hold yet), then the file.
        const int writes = p.files.writes - writes_before;
        FUZZ_CHECK(writes == 2 || writes == 3, "a valid choice was not saved");
    }
}

void Restore(Program& p, bool confirm) {
    p.messages.answers.push_back(confirm ? zv::ui::MessageAnswer::Yes : zv::ui::MessageAnswer::No);
    CheckSave(p, [&] { p.window.Restore(); });
    p.messages.answers.clear();
}

void Pick(FuzzedDataProvider& in, zv::ui::ComboBox& list) {
    if (list.enabled()) {
        list.SetSelection(in.ConsumeIntegralInRange<int>(0, list.ItemCount() - 1));
    }
}

void Select(zv::ui::Option& option) {
    if (option.enabled()) {
        option.Select();
    }
}

void TypeOrPaste(FuzzedDataProvider& in, zv::ui::TextBox& box) {
    if (!box.enabled()) {
        return;
    }
    if (in.ConsumeBool()) {
        box.Paste(in.ConsumeRandomLengthString(8));
    } else {
        box.Type(in.PickValueInArray({'0', '1', '5', '9', '\b', 'a'}));
    }
}

void Toggle(zv::ui::CheckBox& box) {
    if (box.enabled()) {
        box.Toggle();
    }
}

// A pair of the tuning area's table: one of its options, or its value.
void OnePairAction(FuzzedDataProvider& in, const zv::main_window::TuningPair& pair) {
    if (in.ConsumeBool()) {
        Select(in.ConsumeBool() ? pair.windows_default : pair.custom);
    } else if (pair.text != nullptr) {
        TypeOrPaste(in, *pair.text);
    } else {
        Pick(in, *pair.list);
    }
}

void OneUserAction(FuzzedDataProvider& in, Program& p) {
    zv::main_window::TuningView& a = p.window.area;
    switch (in.ConsumeIntegralInRange(0, 6)) {
        case 0:
            CheckSave(p, [&] { Pick(in, a.connection_type_list); });
            break;
        case 1:
            Select(a.optimization_mode[in.ConsumeIntegralInRange(0, 1)]);
            break;
        case 2:
            OnePairAction(in, in.PickValueInArray(a.pairs()));
            break;
        case 3:
            Pick(in, in.ConsumeBool() ? a.http10_connections : a.http11_connections);
            break;
        case 4:
            Toggle(in.ConsumeBool() ? a.path_mtu_discovery : a.black_hole_detection);
            break;
        case 5:
            Apply(p);
            break;
        case 6:
            Restore(p, in.ConsumeBool());
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Program& program = TheProgram();
    FuzzedDataProvider input(data, size);
    const zv::WindowsRelease release = input.PickValueInArray(zv::release_table::kRows).release;
    program.Start(release, input.ConsumeRandomLengthString(250));
    // Longer sequences find little more and cost as much as many short ones.
    for (int action = 0; action < kMostActions && input.remaining_bytes() > 0; ++action) {
        OneUserAction(input, program);
    }
    return 0;
}
