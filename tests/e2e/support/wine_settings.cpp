#include "support/wine_settings.h"

#include <windows.h>

#include "support/registry_read.h"

namespace zv::e2e {
namespace {

std::string SettingsKey(const std::string& program) {
    return "Software\\Wine\\AppDefaults\\" + program;
}

}  // namespace

bool KeepFromLoading(const std::string& program, const char* dll) {
    const std::string key = SettingsKey(program) + "\\DllOverrides";
    HKEY overrides = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &overrides, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool set = RegSetValueExA(overrides, dll, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1) ==
               ERROR_SUCCESS;
    RegCloseKey(overrides);
    return set;
}

void ForgetWineSettings(const std::string& program) {
    DeleteRegistryTree(HKEY_CURRENT_USER, SettingsKey(program));
}

}  // namespace zv::e2e
