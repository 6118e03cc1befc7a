// The registry port over advapi32's ANSI calls.
#pragma once

#include "sysconfig/registry_port.h"

namespace zv::win32 {

class Win32Registry : public RegistryPort {
  public:
    int32_t CreateKey(RegistryRoot root, const std::string& path, RegistryKey* key) override;
    int32_t SetValue(RegistryKey key, const std::string& name, uint32_t kind,
                     const std::string& data) override;
    int32_t DeleteValue(RegistryKey key, const std::string& name) override;
    int32_t OpenKey(RegistryRoot root, const std::string& path, RegistryKey* key) override;
    int32_t EnumKey(RegistryKey key, uint32_t index, std::string* name) override;
    int32_t CloseKey(RegistryKey key) override;
};

}  // namespace zv::win32
