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

bool LockIsHeld(const char* mutex_name, LockScope scope) {
    const std::string name = mutex_name;
    if (scope == LockScope::AllSessions) {
        const DWORD error = OpenError("Global\\" + name);
        if (AskedLockIsHeld(error == 0, error)) {
            return true;
        }
    }
    const DWORD error = OpenError(name);
    return AskedLockIsHeld(error == 0, error);
}

ChangeLock::ChangeLock() {
    const std::string global = "Global\\Zorvane.Changes";
    mutex_.Reset(CreateMutexA(nullptr, FALSE, global.c_str()));
    if (mutex_) {
        return;
    }
    const DWORD error = GetLastError();
    if (UseTheSessionLockInstead(false, error, OpenError(global))) {
        mutex_.Reset(CreateMutexA(nullptr, FALSE, "Zorvane.Changes"));
        return;
    }
    // A lock that cannot be made for any other reason lets the change run, as the single-copy
    // rule does.
    refused_ = error == kErrorAccessDenied;
}

bool ChangeLock::TryTake() {
    if (!mutex_) {
        return !refused_;
    }
    const DWORD waited = WaitForSingleObject(mutex_.get(), 0);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void ChangeLock::Release() {
    if (mutex_) {
        ReleaseMutex(mutex_.get());
    }
}

SingleInstance::SingleInstance(const char* mutex_name, LockScope scope) {
    std::string name = mutex_name;
    if (scope == LockScope::AllSessions) {
        const std::string global = "Global\\" + name;
        mutex_.Reset(CreateMutexA(nullptr, FALSE, global.c_str()));
        DWORD error = GetLastError();
        const bool made = static_cast<bool>(mutex_);
        if (!UseTheSessionLockInstead(made, error, made ? 0 : OpenError(global))) {
            first_copy_ = !AnotherCopyHoldsTheLock(made, error);
            return;
        }
    }
    // The error is read before Reset, as closing a handle would change it.
    HANDLE session = CreateMutexA(nullptr, FALSE, name.c_str());
    DWORD error = GetLastError();
    mutex_.Reset(session);
    first_copy_ = !AnotherCopyHoldsTheLock(session != nullptr, error);
}

}  // namespace zv::win32
