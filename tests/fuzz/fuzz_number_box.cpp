// What the user types or pastes into the MTU and TTL boxes of the settings window, one
// key or one paste at a time. Whatever arrives, each box holds only digits within its
// length, the record holds the number the box shows (0 for an empty box), exactly the
// refused keys and pastes beep and leave the text as it was, and the editing shortcuts
// (Ctrl+A, C, V, X, Z) pass without a beep.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/numbers.h"
#include "fakes/lone_tuning_area.h"
#include "fuzz_check.h"

namespace {

using zv::fuzz::Escape;

// Enough for every MTU (up to 65535) and every TTL (up to 255).
constexpr size_t kMtuDigits = 5;
constexpr size_t kTtlDigits = 3;

// The settings window in Manual mode with both boxes at "Custom", built once.
struct Boxes : zv::testing::LoneTuningArea {
    Boxes() : LoneTuningArea(zv::WindowsRelease::Windows2000) {
        area.optimization_mode[1].Select();
        area.mtu.custom.Select();
        area.ttl.custom.Select();
    }
};

struct Box {
    zv::ui::TextBox& box;
    const int32_t& value;
    size_t max_chars;
};

void CheckBoxState(const Box& box) {
    const std::string& text = box.box.text();
    FUZZ_CHECK(text.empty() || zv::IsAllDigits(text), Escape(text));
    FUZZ_CHECK(text.size() <= box.max_chars, Escape(text));
    FUZZ_CHECK(box.value == (text.empty() ? 0 : std::stoi(text)),
               Escape(text) + " stored " + std::to_string(box.value));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void TypeKey(Box& box, char key, int& beeps) {
    const std::string before = box.box.text();
    box.box.Type(key);
    const bool accepted = IsDigit(key) || key == zv::ui::kBackspace;
    const bool shortcut = zv::ui::IsEditingShortcut(key);
    beeps += accepted || shortcut ? 0 : 1;
    if (!accepted) {
        FUZZ_CHECK(box.box.text() == before, Escape(std::string(1, key)));
    } else if (key == zv::ui::kBackspace) {
        FUZZ_CHECK(box.box.text() == before.substr(0, before.empty() ? 0 : before.size() - 1));
    } else {
        FUZZ_CHECK(box.box.text() == (before + key).substr(0, box.max_chars));
    }
}

void PasteText(Box& box, const std::string& pasted, int& beeps) {
    const std::string before = box.box.text();
    box.box.Paste(pasted);
    const bool accepted = pasted.empty() || zv::IsAllDigits(pasted);
    beeps += accepted ? 0 : 1;
    const std::string expected = accepted ? (before + pasted).substr(0, box.max_chars) : before;
    FUZZ_CHECK(box.box.text() == expected, Escape(pasted) + " gave " + Escape(box.box.text()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Boxes boxes;
    zv::main_window::TuningView& w = boxes.area;
    Box all[] = {{w.mtu.value, boxes.current.MTU, kMtuDigits},
                 {w.ttl.value, boxes.current.TTL, kTtlDigits}};
    // Through a change, so that the record follows the empty box from the start.
    for (Box& box : all) {
        box.box.SetText("0");
        box.box.SetText("");
    }
    boxes.beeper.beeps = 0;
    int beeps = 0;

    FuzzedDataProvider input(data, size);
    while (input.remaining_bytes() > 0) {
        Box& box = all[input.ConsumeBool() ? 1 : 0];
        if (input.ConsumeBool()) {
            PasteText(box, input.ConsumeRandomLengthString(12), beeps);
        } else {
            TypeKey(box, input.ConsumeIntegral<char>(), beeps);
        }
        CheckBoxState(box);
        FUZZ_CHECK(boxes.beeper.beeps == beeps, std::to_string(boxes.beeper.beeps));
    }
    return 0;
}
