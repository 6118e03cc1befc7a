// Check-box states and flags. A check box holds 1 when checked and 0 when not; the
// program's flags are plain bools.
#pragma once

namespace zv {

constexpr int kUnchecked = 0;
constexpr int kChecked = 1;

// True for a checked box (1), false for any other state.
inline bool CheckedToFlag(int check_state) {
    return check_state == kChecked;
}

inline int FlagToChecked(bool flag) {
    return flag ? kChecked : kUnchecked;
}

}  // namespace zv
