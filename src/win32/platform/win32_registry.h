// The registry port over advapi32's ANSI calls, in the registry view 64-bit Windows reads.
#pragma once

#include "sysconfig/registry_port.h"
#include "sysconfig/registry_view.h"
#include "win32/platform/wow64.h"

namespace zv::win32 {

class Win32Registry : public RegistryPort {
  public:
    explicit Win32Registry(RegistryAccess access = RegistryAccessFor(RunningUnderWow64()))
        : access_(access) {}

    int32_t CreateKey(RegistryRoot root, const std::string& path, RegistryKey* key) override;
    int32_t SetValue(RegistryKey key, const std::string& name, uint32_t kind,
                     const std::string& data) override;
    int32_t DeleteValue(RegistryKey key, const std::string& name) override;
    int32_t OpenKey(RegistryRoot root, const std::string& path, RegistryKey* key) override;
    int32_t EnumKey(RegistryKey key, uint32_t index, std::string* name) override;
    int32_t CloseKey(RegistryKey key) override;
    int32_t QueryValue(RegistryKey key, const std::string& name, uint32_t* kind,
                       std::string* data) override;
    int32_t CountEntries(RegistryKey key, uint32_t* subkeys, uint32_t* values) override;
    int32_t DeleteKey(RegistryRoot root, const std::string& path) override;

  private:
    RegistryAccess access_;
};

}  // namespace zv::win32
