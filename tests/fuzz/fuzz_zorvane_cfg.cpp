// "Zorvane.cfg" as a hand edit or a damaged disk may leave it. Whatever the bytes, the
// program starts with either the defaults or a choice the settings window could have
// saved: shown in the window it stays as read, and it writes back to bytes that read to
// the same record.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/memory_file_system.h"
#include "fakes/lone_tuning_area.h"
#include "fuzz_check.h"
#include "sysconfig/settings_file.h"
#include "sysconfig/settings_file_reader.h"

namespace {

constexpr char kFolder[] = "C:\\Zorvane";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The window the loaded choice is shown in, built once.
    static zv::testing::LoneTuningArea loaded_window(zv::WindowsRelease::WindowsXp);
    const std::string text(reinterpret_cast<const char*>(data), size);
    const zv::TuningSettings before{};  // CurrentSettings as the program starts
    const zv::TuningSettings defaults = zv::InitialDefaultSettings();

    auto parsed = zv::ParseSettingsFile(text, before);
    static zv::testing::MemoryFileSystem files;
    files.files[std::string(kFolder) + zv::kSettingsFileName] = text;
    zv::TuningSettings loaded = before;
    zv::LoadSettings(files, kFolder, defaults, loaded);
    FUZZ_CHECK(loaded == (parsed ? *parsed : defaults));
    if (!parsed) {
        return 0;
    }

    const std::string written = zv::FormatSettingsFile(*parsed);
    auto reread = zv::ParseSettingsFile(written, before);
    FUZZ_CHECK(reread && *reread == *parsed, zv::fuzz::Escape(written));
    FUZZ_CHECK(zv::FormatSettingsFile(*reread) == written, zv::fuzz::Escape(written));

    // An Automatic-mode choice takes its values from the presets when shown; a Manual one
    // must come out of the window exactly as it went in.
    if (parsed->OptimizationMode == zv::ManualMode) {
        zv::TuningSettings shown = loaded_window.Show(*parsed);
        FUZZ_CHECK(shown == *parsed, "read " + zv::fuzz::Escape(written) + " shown " +
                                         zv::fuzz::Escape(zv::FormatSettingsFile(shown)));
    }
    return 0;
}
