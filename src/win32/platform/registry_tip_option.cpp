#include "win32/platform/registry_tip_option.h"

#include <windows.h>

namespace zv::win32 {

std::optional<std::string> RegistryTipOption::Read() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kTipOptionKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    char buffer[64] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer) - 1;  // room for a terminator the value may lack
    LONG result = RegQueryValueExA(key, main_window::kTipOptionName, nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) {
        return std::nullopt;
    }
    std::string text(buffer, size);
    return text.substr(0, text.find('\0'));
}

void RegistryTipOption::Write(const std::string& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kTipOptionKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, main_window::kTipOptionName, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

}  // namespace zv::win32
