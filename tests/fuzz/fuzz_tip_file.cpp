// "TIPs.TXT", which the user is told to write in any editor. Whatever the bytes, every
// CR ends a tip and no tip holds one, no byte other than line ends is lost, and the
// dialog shows one of the tips for any draw of the random generator.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/memory_file_system.h"
#include "fakes/memory_tip_option.h"
#include "fuzz_check.h"
#include "main_window/tip_view.h"

namespace {

constexpr char kFolder[] = "C:\\Zorvane";

// Draws in [0, 1), the top end included as closely as a double allows.
class FixedDraw : public zv::main_window::RandomSource {
  public:
    double draw = 0;
    double Next() override { return draw; }
};

// The text without its line ends: CR LF and a CR alone count once, a LF alone is text.
std::string WithoutLineEnds(const std::string& text) {
    std::string kept;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            continue;
        }
        kept += text[i];
    }
    return kept;
}

size_t LineEnds(const std::string& text) {
    size_t count = 0;
    for (char c : text) {
        count += c == '\r' ? 1 : 0;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    FixedDraw random;
    random.draw = std::nextafter(input.ConsumeProbability<double>(), 0.0);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::vector<std::string> lines = zv::main_window::SplitTipLines(text);
    std::string joined;
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.find('\r') == std::string::npos, zv::fuzz::Escape(line));
        joined += line;
    }
    FUZZ_CHECK(joined == WithoutLineEnds(text), zv::fuzz::Escape(joined));
    // A last line without a line end is a tip too, unless it is empty.
    bool open_last_line = !text.empty() && text.back() != '\r' &&
                          !(text.size() >= 2 && text.substr(text.size() - 2) == "\r\n");
    FUZZ_CHECK(lines.size() == LineEnds(text) + (open_last_line ? 1 : 0));

    zv::testing::MemoryFileSystem files;
    files.files[std::string(kFolder) + "\\" + zv::main_window::kTipFileName] = text;
    zv::testing::MemoryTipOption option;
    zv::main_window::TipView dialog(files, option, random, kFolder);
    dialog.Load();
    if (lines.empty()) {
        FUZZ_CHECK(dialog.lblTipText.caption().empty());
        return 0;
    }
    const int32_t tip = dialog.current_tip();
    FUZZ_CHECK(tip >= 1 && tip <= static_cast<int32_t>(lines.size()), std::to_string(tip));
    FUZZ_CHECK(dialog.lblTipText.caption() == lines[static_cast<size_t>(tip - 1)]);
    return 0;
}
