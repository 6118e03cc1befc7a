// The second start-up floor: a window with the same controls as Zorvane's main window (the
// same classes, styles, places and count, combo boxes and toolbar as full, common controls 6)
// made the plainest way: one CreateWindowEx per line of a list, no control model, no binder,
// no load sequence. The list is read from the real window by the start-up benchmark, so the
// floor follows the window as it changes.
//
// List format, one tab-separated line each; the first line is the window itself:
//   window <style> <exstyle> <client width> <client height> <title>
//   <class> <style> <exstyle> <x> <y> <width> <height> <id> <items> <text>
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Line {
    std::vector<std::string> fields;
    const char* At(size_t index) const {
        return index < fields.size() ? fields[index].c_str() : "";
    }
    long Number(size_t index) const { return std::strtol(At(index), nullptr, 0); }
};

std::vector<Line> ReadList(const char* path) {
    std::vector<Line> lines;
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return lines;
    }
    char buffer[1024];
    while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
        buffer[std::strcspn(buffer, "\r\n")] = '\0';
        Line line;
        for (char* field = buffer;;) {
            char* tab = std::strchr(field, '\t');
            line.fields.emplace_back(field, tab != nullptr ? tab - field : std::strlen(field));
            if (tab == nullptr) {
                break;
            }
            field = tab + 1;
        }
        lines.push_back(line);
    }
    std::fclose(file);
    return lines;
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

HFONT MessageFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return CreateFontIndirectA(&metrics.lfMessageFont);
}

// What a plain program puts into a list or a toolbar: as many entries as the real one has.
void Fill(HWND control, const Line& line) {
    const long items = line.Number(8);
    if (std::strcmp(line.At(0), WC_COMBOBOXA) == 0 || std::strcmp(line.At(0), "ComboBox") == 0) {
        for (long item = 0; item < items; ++item) {
            SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Entry"));
        }
    } else if (std::strcmp(line.At(0), TOOLBARCLASSNAMEA) == 0 && items > 0) {
        SendMessageA(control, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageA(control, TB_LOADIMAGES, IDB_STD_SMALL_COLOR,
                     reinterpret_cast<LPARAM>(HINST_COMMCTRL));
        std::vector<TBBUTTON> buttons(static_cast<size_t>(items));
        for (size_t index = 0; index < buttons.size(); ++index) {
            buttons[index].iBitmap = static_cast<int>(index % STD_PRINT);
            buttons[index].idCommand = static_cast<int>(100 + index);
            buttons[index].fsState = TBSTATE_ENABLED;
            buttons[index].fsStyle = BTNS_BUTTON;
        }
        SendMessageA(control, TB_ADDBUTTONSA, buttons.size(),
                     reinterpret_cast<LPARAM>(buttons.data()));
    }
}

// A combo box hands WS_VSCROLL on to its drop-down list and no longer shows it in its own
// style, so the list read from the real window lacks it. The real drop-down lists scroll,
// and so do these: without it, filling a list costs Wine about 1.3 ms less each.
DWORD StyleOf(const Line& line) {
    const DWORD style = static_cast<DWORD>(line.Number(1));
    const DWORD kind = style & 3;  // CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST
    const bool drops_down = std::strcmp(line.At(0), WC_COMBOBOXA) == 0 && kind != CBS_SIMPLE;
    return drops_down ? style | WS_VSCROLL : style;
}

HWND MakeWindow(HINSTANCE instance, const Line& line) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = Procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = "SameControlsWindow";
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&window_class);
    const DWORD style = static_cast<DWORD>(line.Number(1)) & ~WS_VISIBLE;
    const DWORD exstyle = static_cast<DWORD>(line.Number(2));
    RECT frame{0, 0, line.Number(3), line.Number(4)};
    AdjustWindowRectEx(&frame, style, FALSE, exstyle);
    return CreateWindowExA(exstyle, "SameControlsWindow", line.At(5), style, CW_USEDEFAULT,
                           CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                           nullptr, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::vector<Line> lines = ReadList(command_line);
    if (lines.empty()) {
        return 2;
    }
    HWND hwnd = MakeWindow(instance, lines.front());
    HFONT font = MessageFont();
    for (size_t index = 1; index < lines.size(); ++index) {
        const Line& line = lines[index];
        HWND control = CreateWindowExA(
            static_cast<DWORD>(line.Number(2)), line.At(0), line.At(9), StyleOf(line),
            line.Number(3), line.Number(4), line.Number(5), line.Number(6), hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(line.Number(7))), instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        Fill(control, line);
    }
    ShowWindow(hwnd, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(hwnd, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DeleteObject(font);
    return 0;
}
