// The lock every change of the system is made under, in every process of the program:
// Apply, Restore, Undo and the modern stack's changes read, change and write the snapshots
// folder and first-snapshot.txt whole, so two at once would lose one's record, and an Undo
// during a change would put back rows the change then writes again. It is taken for the
// whole change, on the thread that makes it, and never waited for: a change that finds it
// held is refused before anything is written.
#pragma once

namespace zv {

class ChangeLockPort {
  public:
    virtual ~ChangeLockPort() = default;
    // False when another change (of this process or another) holds it.
    virtual bool TryTake() = 0;
    virtual void Release() = 0;
};

// Holds the lock for a scope. Without a port there is nothing to hold, and it counts as held.
class HeldChangeLock {
  public:
    explicit HeldChangeLock(ChangeLockPort* port)
        : port_(port), held_(port == nullptr || port->TryTake()) {}
    ~HeldChangeLock() {
        if (port_ != nullptr && held_) {
            port_->Release();
        }
    }
    HeldChangeLock(const HeldChangeLock&) = delete;
    HeldChangeLock& operator=(const HeldChangeLock&) = delete;

    bool held() const { return held_; }

  private:
    ChangeLockPort* port_;
    bool held_;
};

inline constexpr char kAnotherChangeRuns[] =
    "Another change of Zorvane's is still being made. Nothing has been changed: try again "
    "when it has ended.";

}  // namespace zv
