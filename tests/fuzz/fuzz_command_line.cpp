// The main program's command line: today the whole text after the program path is one
// start-up argument. Whatever the text, the program either only starts the companion
// (exactly once) or shows its window, never both; a number other than 0 starts only the
// companion, 0 shows the window in normal state, text that holds anything but a number
// shows the window, and blanks around the text change nothing. Switches of the command
// line get their own check here, beside the argument's, with the same input.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "main_window/start_program.h"

namespace {

using zv::fuzz::Escape;
using zv::main_window::StartOutcome;

class CountingPorts : public zv::main_window::StartPorts {
  public:
    int companions = 0;
    bool IsFirstCopy() override { return true; }
    bool WriterRuns() override { return false; }
    zv::WindowsVersion DetectWindowsVersion() override { return {}; }
    void StartCompanion() override { ++companions; }
};

StartOutcome Start(const std::string& argument) {
    CountingPorts ports;
    zv::main_window::ProgramRecords records;
    StartOutcome outcome = zv::main_window::StartProgram(ports, argument, records);
    FUZZ_CHECK(ports.companions == (outcome == StartOutcome::CompanionOnly ? 1 : 0),
               Escape(argument));
    FUZZ_CHECK(zv::main_window::AsksOnlyForCompanion(argument) == (ports.companions == 1),
               Escape(argument));
    return outcome;
}

bool HoldsOnlyNumberCharacters(const std::string& text) {
    return text.find_first_not_of("0123456789+- \t") == std::string::npos;
}

void CheckStartArgument(const std::string& argument) {
    StartOutcome outcome = Start(argument);
    FUZZ_CHECK(Start(" " + argument + "\t") == outcome, Escape(argument));
    if (!HoldsOnlyNumberCharacters(argument)) {
        FUZZ_CHECK(outcome == StartOutcome::ShowMainWindow, Escape(argument));
    }
}

// A whole number however written: with a sign, with leading zeros, past 64 bits.
void CheckNumber(FuzzedDataProvider& input) {
    const std::string sign = input.PickValueInArray({"", "+", "-"});
    const std::string zeros(input.ConsumeIntegralInRange<size_t>(0, 30), '0');
    const uint64_t magnitude = input.ConsumeIntegral<uint64_t>();
    const std::string digits =
        std::to_string(magnitude) + (input.ConsumeBool() ? "0000000000" : "");
    const std::string written = sign + zeros + digits;
    const StartOutcome expected =
        magnitude == 0 ? StartOutcome::ShowMainWindowNormal : StartOutcome::CompanionOnly;
    FUZZ_CHECK(Start(written) == expected, Escape(written));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    CheckNumber(input);
    CheckStartArgument(input.ConsumeRemainingBytesAsString());
    return 0;
}
