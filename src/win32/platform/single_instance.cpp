#include "win32/platform/single_instance.h"

#include <windows.h>

namespace zv::win32 {

// A mutex that cannot be created at all does not stop the program: better two copies than
// none.
SingleInstance::SingleInstance(const char* mutex_name)
    : mutex_(CreateMutexA(nullptr, FALSE, mutex_name)),
      first_copy_(mutex_ == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {}

SingleInstance::~SingleInstance() {
    if (mutex_ != nullptr) {
        CloseHandle(mutex_);
    }
}

}  // namespace zv::win32
