#include "support/key_presses.h"

namespace zv::e2e {

void PressKey(WORD key, WORD modifier) {
    INPUT inputs[4]{};
    UINT count = 0;
    auto add = [&](WORD vk, DWORD flags) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count].ki.wVk = vk;
        inputs[count].ki.dwFlags = flags;
        ++count;
    };
    if (modifier != 0) {
        add(modifier, 0);
    }
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (modifier != 0) {
        add(modifier, KEYEVENTF_KEYUP);
    }
    SendInput(count, inputs, sizeof(INPUT));
}

}  // namespace zv::e2e
