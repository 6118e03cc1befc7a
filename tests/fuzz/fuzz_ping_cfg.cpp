// "Ping.cfg" as either program, a hand edit or a damaged disk may leave it, and the ping
// dialog opened over it. Whatever the bytes, the settings read are whole (two flags and
// an interval of 1 to 60 minutes) and any host the dialog would store comes back as
// written; OK in the dialog either refuses with its message and leaves the file alone, or
// saves a file that reads back to the settings in memory.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/memory_file_system.h"
#include "fakes/recording_launcher.h"
#include "fakes/recording_ui.h"
#include "fakes/scripted_ping_ports.h"
#include "fuzz_check.h"
#include "ping/ping_dialog_view.h"
#include "ping/keep_alive_ping.h"
#include "ping/ping_settings.h"

namespace {

using zv::ping::PingSettings;

constexpr char kFolder[] = "C:\\Zorvane";

bool operator==(const PingSettings& a, const PingSettings& b) {
    return a.PingAutomatic == b.PingAutomatic && a.PingHost == b.PingHost &&
           a.PingInterval == b.PingInterval && a.PingSound == b.PingSound;
}

std::string Shown(const PingSettings& s) {
    return zv::fuzz::Escape(zv::ping::FormatPingCfg(s));
}

void CheckReadSettings(const std::string& file) {
    auto parsed = zv::ping::ParsePingCfg(file);
    if (!parsed) {
        return;
    }
    auto minutes = zv::ping::PingIntervalMinutes(parsed->PingInterval);
    FUZZ_CHECK(minutes && std::to_string(*minutes) == parsed->PingInterval, Shown(*parsed));
    if (zv::ping::IsStorableHost(parsed->PingHost)) {
        auto reread = zv::ping::ParsePingCfg(zv::ping::FormatPingCfg(*parsed));
        FUZZ_CHECK(reread && *reread == *parsed, Shown(*parsed));
    }
}

// One dialog over in-memory ports, built once; each input puts its own file in place and
// opens the dialog afresh, which reads the file and sets every control.
struct Dialog {
    zv::testing::MemoryFileSystem files;
    zv::testing::RecordingMessageBox messages;
    zv::testing::ScriptedSockets sockets;
    zv::testing::ScriptedEcho echo{sockets};
    zv::testing::RecordingSound sound;
    zv::testing::RecordingLauncher launcher;
    zv::testing::InlinePingWorker pinger{sockets, echo};
    zv::ping::KeepAlivePing ping{{pinger, sound, files, messages}, kFolder, "Zorvane"};
    zv::ping::PingDialogView form{ping, messages, launcher, kFolder, "Zorvane"};
    const std::string path = zv::ping::PingCfgPath(kFolder);

    void Open(const std::string& file) {
        files.files.clear();
        files.files[path] = file;
        messages.shown.clear();
        ping.Settings() = PingSettings{};
        form.Form_Load();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Dialog dialog;
    FuzzedDataProvider input(data, size);
    const uint8_t actions = input.ConsumeIntegral<uint8_t>();
    const std::string host = input.ConsumeRandomLengthString(64);
    const std::string file = input.ConsumeRemainingBytesAsString();

    CheckReadSettings(file);

    dialog.Open(file);
    auto parsed = zv::ping::ParsePingCfg(file);
    PingSettings defaults;
    zv::ping::SetPingDefaults(defaults);
    FUZZ_CHECK(dialog.ping.Settings() == (parsed ? *parsed : defaults),
               Shown(dialog.ping.Settings()));

    if (actions & 1) {
        dialog.form.manual_mode.Select();
        dialog.form.txtPingHost.SetText(host);
        dialog.form.cmbPingInterval.SetSelection(actions / 4 % 61 - 1);
    }
    if (actions & 2) {
        dialog.form.chkSound.SetValue(1 - dialog.form.chkSound.value());
    }
    dialog.form.cmdOK.Click();

    const std::string& saved = dialog.files.files[dialog.path];
    if (!dialog.messages.shown.empty()) {
        FUZZ_CHECK(dialog.messages.shown.back().text == zv::ping::kEnterValuesProperly);
        FUZZ_CHECK(saved == file, "the file changed after a refusal");
        return 0;
    }
    auto reread = zv::ping::ParsePingCfg(saved);
    FUZZ_CHECK(reread && *reread == dialog.ping.Settings(),
               "saved " + zv::fuzz::Escape(saved) + " in memory " + Shown(dialog.ping.Settings()));
    return 0;
}
