#include "win32/vigilo/history_graph_keys.h"

namespace zv::win32 {
namespace {

constexpr char kClassName[] = "ZorvaneHistoryGraph";

LRESULT CALLBACK GraphKeysProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    HWND window = GetParent(hwnd);
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
            SendMessageA(window, kGraphKeyMessage, wparam, 0);
            return 0;
        case WM_CHAR:
            SendMessageA(window, kGraphKeyMessage, wparam, 1);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            SendMessageA(window, kGraphFocusMessage, 0, 0);
            return 0;
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        default:
            return DefWindowProcA(hwnd, message, wparam, lparam);
    }
}

}  // namespace

HWND CreateGraphKeys(HWND window, int id) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA graph_class{};
    if (!GetClassInfoA(instance, kClassName, &graph_class)) {
        graph_class.lpfnWndProc = GraphKeysProcedure;
        graph_class.hInstance = instance;
        graph_class.lpszClassName = kClassName;
        RegisterClassA(&graph_class);
    }
    HWND keys = CreateWindowExA(0, kClassName, "Graph", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0,
                                0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                instance, nullptr);
    if (keys != nullptr) {
        SetWindowRgn(keys, CreateRectRgn(0, 0, 0, 0), FALSE);
    }
    return keys;
}

}  // namespace zv::win32
