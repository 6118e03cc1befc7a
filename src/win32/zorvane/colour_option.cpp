#include "win32/zorvane/colour_option.h"

#include <windows.h>

#include "win32/platform/registry_tip_option.h"
#include "win32/ui/system_colours.h"

namespace zv::win32 {
namespace {

constexpr char kValueName[] = "SystemColours";

}  // namespace

bool ReadSystemColoursOption() {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kTipOptionKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    LONG read =
        RegQueryValueExA(key, kValueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return read == ERROR_SUCCESS && type == REG_DWORD && value == 1;
}

void WriteSystemColoursOption(bool chosen) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kTipOptionKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    DWORD value = chosen ? 1 : 0;
    RegSetValueExA(key, kValueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);
}

ui::Scheme ZorvaneScheme() {
    return CurrentScheme(ReadSystemColoursOption());
}

}  // namespace zv::win32
