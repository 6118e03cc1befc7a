// The single-copy rule of both programs, from what opening the named lock gave: the lock
// is another copy's when it already existed, and also when this process may not open it
// at all, as when an elevated copy made it and this one runs at the user's level. A lock
// that cannot be made for any other reason lets the program run: better two copies than
// none.
#pragma once

namespace zv {

constexpr unsigned long kErrorAccessDenied = 5;
constexpr unsigned long kErrorAlreadyExists = 183;

inline bool AnotherCopyHoldsTheLock(bool opened, unsigned long error) {
    return opened ? error == kErrorAlreadyExists : error == kErrorAccessDenied;
}

}  // namespace zv
