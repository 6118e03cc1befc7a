// The single-copy rule of both programs, from what opening the named lock gave: the lock
// is another copy's when it already existed, and also when this process may not open it
// at all, as when an elevated copy made it and this one runs at the user's level. A lock
// that cannot be made for any other reason lets the program run: better two copies than
// none.
#pragma once

namespace zv {

constexpr unsigned long kErrorFileNotFound = 2;
constexpr unsigned long kErrorAccessDenied = 5;
constexpr unsigned long kErrorAlreadyExists = 183;

inline bool AnotherCopyHoldsTheLock(bool opened, unsigned long error) {
    return opened ? error == kErrorAlreadyExists : error == kErrorAccessDenied;
}

// Asking for a lock without making it (OpenMutex): it is held when it opened, and also when
// this process may not open it, as when an elevated copy made it.
inline bool AskedLockIsHeld(bool opened, unsigned long error) {
    return opened || error == kErrorAccessDenied;
}

// A lock of every session ("Global\") may be refused to an account that may not make
// objects for every session (a user without that right outside session 0). When no such
// lock exists (opening it found nothing), that refusal is no other copy's: the session's
// own lock stands in. When it exists, the usual rule holds.
inline bool UseTheSessionLockInstead(bool made, unsigned long make_error,
                                     unsigned long open_error) {
    return !made && make_error == kErrorAccessDenied && open_error == kErrorFileNotFound;
}

}  // namespace zv
