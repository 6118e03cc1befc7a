// The baseline for the companion's resident cost: a hidden window with one tray icon.
#include <windows.h>
#include <shellapi.h>

static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = Procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = "MinimalTray";
    RegisterClassA(&window_class);
    HWND hwnd = CreateWindowA("MinimalTray", "MinimalTray", 0, 0, 0, 0, 0, nullptr, nullptr,
                              instance, nullptr);
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = hwnd;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    icon.uCallbackMessage = WM_MOUSEMOVE;
    icon.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    lstrcpyA(icon.szTip, "Minimal");
    Shell_NotifyIconA(NIM_ADD, &icon);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
