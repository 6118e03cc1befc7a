// One running copy of a program: a named mutex that lives as long as this object.
#pragma once

#include "common/change_lock.h"
#include "win32/platform/kernel_handle.h"

namespace zv::win32 {

enum class LockScope {
    Session,      // one copy in each session (a tray program of each user)
    AllSessions,  // one copy on the computer: the name is made in the "Global\" namespace
};

// Whether a copy holds the lock, asked without making it: in every session when the scope
// is AllSessions, then in this one.
bool LockIsHeld(const char* mutex_name, LockScope scope = LockScope::Session);

class SingleInstance {
  public:
    explicit SingleInstance(const char* mutex_name, LockScope scope = LockScope::Session);

    // False when another process already holds the name.
    bool IsFirstCopy() const { return first_copy_; }

  private:
    KernelHandle mutex_;
    bool first_copy_ = true;
};

// The change lock of every session (common/change_lock.h), as a mutex that the thread making
// a change owns for its length. Ownership is per thread, so a window's thread and its
// worker exclude each other as two processes do; a holder that died leaves it abandoned,
// which the next change takes.
class ChangeLock : public ChangeLockPort {
  public:
    ChangeLock();
    bool TryTake() override;
    void Release() override;

  private:
    KernelHandle mutex_;
    // Made by a copy this process may not open (an elevated one): held, for all it can tell.
    bool refused_ = false;
};

}  // namespace zv::win32
