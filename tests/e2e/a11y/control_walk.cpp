#include "control_walk.h"

#include <oleacc.h>

#include <algorithm>
#include <cctype>

#include "support/key_presses.h"
#include "support/wait.h"

namespace zv::e2e {
namespace {

// Spelt here: the import library's IID_IAccessible links to a stub, not to the GUID.
constexpr IID kAccessibleInterface = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::string Narrow(BSTR text) {
    if (text == nullptr) {
        return "";
    }
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(std::max(size, 1)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

}  // namespace

int FocusedControlId(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return 0;
    }
    HWND control = info.hwndFocus;
    while (control != nullptr && GetParent(control) != window) {
        control = GetParent(control);
    }
    return control != nullptr ? GetDlgCtrlID(control) : 0;
}

std::vector<int> TabCycle(HWND window, bool backwards) {
    SetForegroundWindow(window);
    WaitUntil([&] { return GetForegroundWindow() == window; }, 2000);
    int start = FocusedControlId(window);
    if (start == 0) {
        PressKey(VK_TAB, backwards ? VK_SHIFT : 0);
        WaitUntil([&] { return FocusedControlId(window) != 0; }, 1000);
        start = FocusedControlId(window);
    }
    std::vector<int> cycle;
    for (int at = start; cycle.size() < 80;) {
        PressKey(VK_TAB, backwards ? VK_SHIFT : 0);
        WaitUntil([&] { return FocusedControlId(window) != at; }, 1000);
        at = FocusedControlId(window);
        cycle.push_back(at);
        if (at == start || at == 0) {
            break;
        }
    }
    return cycle;
}

std::vector<int> StartingAt(const std::vector<int>& cycle, int first) {
    auto at = std::find(cycle.begin(), cycle.end(), first);
    if (at == cycle.end()) {
        return {};
    }
    std::vector<int> turned(at, cycle.end());
    turned.insert(turned.end(), cycle.begin(), at);
    return turned;
}

char AccessKey(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (caption[i + 1] != '&') {
                return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
            }
            ++i;
        }
    }
    return 0;
}

Accessible ReadAccessible(HWND control) {
    static const HRESULT com = CoInitialize(nullptr);
    (void)com;
    IAccessible* object = nullptr;
    HRESULT made = AccessibleObjectFromWindow(control, OBJID_CLIENT, kAccessibleInterface,
                                              reinterpret_cast<void**>(&object));
    if (FAILED(made)) {
        char code[32];
        wsprintfA(code, "(no object: %08lx)", static_cast<unsigned long>(made));
        return {code, ""};
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Accessible read;
    BSTR name = nullptr;
    if (SUCCEEDED(object->get_accName(self, &name))) {
        read.name = Narrow(name);
        SysFreeString(name);
    }
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) {
        char text[64] = "";
        GetRoleTextA(static_cast<DWORD>(role.lVal), text, sizeof text);
        read.role = text;
    }
    object->Release();
    return read;
}

}  // namespace zv::e2e
