#include "win32/zorvane/colour_option.h"

#include <windows.h>

#include "win32/platform/registry_tip_option.h"
#include "win32/platform/user_number.h"
#include "win32/ui/system_colours.h"

namespace zv::win32 {
namespace {

constexpr char kValueName[] = "SystemColours";

}  // namespace

bool ReadSystemColoursOption() {
    return ReadUserNumber(kTipOptionKey, kValueName) == DWORD{1};
}

void WriteSystemColoursOption(bool chosen) {
    WriteUserNumber(kTipOptionKey, kValueName, chosen ? 1 : 0);
}

ui::Scheme ZorvaneScheme() {
    return CurrentScheme(ReadSystemColoursOption());
}

}  // namespace zv::win32
