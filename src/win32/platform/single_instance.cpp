#include "win32/platform/single_instance.h"

#include <windows.h>

#include "common/single_copy.h"

namespace zv::win32 {

SingleInstance::SingleInstance(const char* mutex_name)
    : mutex_(CreateMutexA(nullptr, FALSE, mutex_name)),
      first_copy_(!AnotherCopyHoldsTheLock(mutex_ != nullptr, GetLastError())) {}

SingleInstance::~SingleInstance() {
    if (mutex_ != nullptr) {
        CloseHandle(mutex_);
    }
}

}  // namespace zv::win32
