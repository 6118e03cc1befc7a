#include "win32/ui/clipboard.h"

namespace zv::win32 {

std::string ClipboardText(HWND owner) {
    std::string text;
    if (!OpenClipboard(owner)) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool SetClipboardText(HWND owner, const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    char* chars = memory != nullptr ? static_cast<char*>(GlobalLock(memory)) : nullptr;
    if (chars == nullptr) {
        if (memory != nullptr) {
            GlobalFree(memory);
        }
        return false;
    }
    CopyMemory(chars, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    // Once placed, the memory belongs to the clipboard.
    bool placed = EmptyClipboard() && SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!placed) {
        GlobalFree(memory);
    }
    return placed;
}

}  // namespace zv::win32
