#include "win32/platform/single_instance.h"

#include <windows.h>

#include <string>

#include "common/single_copy.h"

namespace zv::win32 {
namespace {

// The error opening an existing lock of that name gives (0 when it opened).
DWORD OpenError(const std::string& name) {
    HANDLE existing = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    if (existing == nullptr) {
        return GetLastError();
    }
    CloseHandle(existing);
    return 0;
}

}  // namespace

SingleInstance::SingleInstance(const char* mutex_name, LockScope scope) {
    std::string name = mutex_name;
    if (scope == LockScope::AllSessions) {
        const std::string global = "Global\\" + name;
        mutex_ = CreateMutexA(nullptr, FALSE, global.c_str());
        DWORD error = GetLastError();
        const bool made = mutex_ != nullptr;
        if (!UseTheSessionLockInstead(made, error, made ? 0 : OpenError(global))) {
            first_copy_ = !AnotherCopyHoldsTheLock(made, error);
            return;
        }
    }
    mutex_ = CreateMutexA(nullptr, FALSE, name.c_str());
    first_copy_ = !AnotherCopyHoldsTheLock(mutex_ != nullptr, GetLastError());
}

SingleInstance::~SingleInstance() {
    if (mutex_ != nullptr) {
        CloseHandle(mutex_);
    }
}

}  // namespace zv::win32
