// The change lock in memory: held by another change when told so, and counting the takes
// not yet released.
#pragma once

#include "common/change_lock.h"

namespace zv::testing {

class FakeChangeLock : public ChangeLockPort {
  public:
    bool held_elsewhere = false;
    int held = 0;
    int takes = 0;

    bool TryTake() override { return !held_elsewhere && ++takes > 0 && ++held > 0; }
    void Release() override { --held; }
};

}  // namespace zv::testing
