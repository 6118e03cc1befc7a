// A handle to a kernel object that closes itself, for the objects whose functions return
// null on failure (mutexes, threads, tokens). Files, which fail with INVALID_HANDLE_VALUE,
// have FileHandle.
#pragma once

#include <windows.h>

namespace zv::win32 {

class KernelHandle {
  public:
    KernelHandle() = default;
    ~KernelHandle() { Reset(nullptr); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Closes the handle held, if any, and holds this one.
    void Reset(HANDLE handle) {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
        }
        handle_ = handle;
    }

  private:
    HANDLE handle_ = nullptr;
};

}  // namespace zv::win32
