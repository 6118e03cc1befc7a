#include "support/wine_settings.h"

#include <windows.h>

#include "support/registry_read.h"

namespace zv::e2e {
namespace {

std::string SettingsKey(const std::string& program) {
    return "Software\\Wine\\AppDefaults\\" + program;
}

bool SetOverride(const std::string& key, const char* module, const std::string& order) {
    HKEY overrides = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &overrides, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool set =
        RegSetValueExA(overrides, module, 0, REG_SZ, reinterpret_cast<const BYTE*>(order.c_str()),
                       static_cast<DWORD>(order.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(overrides);
    return set;
}

}  // namespace

bool KeepFromLoading(const std::string& program, const char* dll) {
    return SetOverride(SettingsKey(program) + "\\DllOverrides", dll, "");
}

bool PreferNative(const char* module) {
    return SetOverride("Software\\Wine\\DllOverrides", module, "native");
}

bool PreferNativeThenBuiltin(const std::string& dll) {
    return SetOverride("Software\\Wine\\DllOverrides", dll.c_str(), "native,builtin");
}

void ForgetWineSettings(const std::string& program) {
    DeleteRegistryTree(HKEY_CURRENT_USER, SettingsKey(program));
}

}  // namespace zv::e2e
