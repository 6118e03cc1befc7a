// The COM pieces the programs share: an interface pointer released when it goes out of
// scope, and an empty VARIANT made without oleaut32's VariantInit (oleaut32 is loaded at
// run time only, never imported).
#pragma once

#include <windows.h>

#include <oaidl.h>

namespace zv::win32 {

template <typename I>
class ComRef {
  public:
    ComRef() = default;
    ~ComRef() {
        if (p_ != nullptr) {
            p_->Release();
        }
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    I* operator->() const { return p_; }
    I* get() const { return p_; }
    I** out() { return &p_; }
    void** out_void() { return reinterpret_cast<void**>(&p_); }

  private:
    I* p_ = nullptr;
};

// VT_EMPTY.
inline VARIANT EmptyVariant() {
    VARIANT value;
    ZeroMemory(&value, sizeof(value));
    return value;
}

}  // namespace zv::win32
