// Start-up time: from process start to a visible window, for Zorvane.exe against two floors,
// alternating runs, medians and their ratios: a minimal Win32 window, and a window with the
// same controls as Zorvane's made the plainest way (listed from the real window first).
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"

namespace {

std::string OwnDir() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\'));
}

// The tip of the day would come first; the window itself is what is measured.
void SwitchOffStartupTip() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zorvane\\Options", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Show Tips at Startup", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"),
                       2);
        RegCloseKey(key);
    }
}

double TimeToWindow(const std::string& program, const std::string& arguments = "") {
    double start = zv::bench::NowMs();
    PROCESS_INFORMATION process = zv::bench::Start(program, arguments);
    double waited = zv::bench::WaitForVisibleWindow(process.dwProcessId, 10000);
    double elapsed = waited < 0 ? -1 : zv::bench::NowMs() - start;
    zv::bench::Stop(process);
    return elapsed;
}

std::string ClassOf(HWND hwnd) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// Controls that the real ones make for themselves (a combo box's edit and list) are left
// out: the plain window's controls make them too.
bool MadeByAnotherControl(HWND control) {
    const std::string parent = ClassOf(GetParent(control));
    return parent == WC_COMBOBOXA || parent == TOOLBARCLASSNAMEA;
}

struct Listing {
    HWND window;
    FILE* file;
    int count;
};

BOOL CALLBACK ListControl(HWND control, LPARAM data) {
    auto* listing = reinterpret_cast<Listing*>(data);
    if (MadeByAnotherControl(control)) {
        return TRUE;
    }
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, listing->window, reinterpret_cast<POINT*>(&place), 2);
    const std::string kind = ClassOf(control);
    LRESULT items = 0;
    if (kind == WC_COMBOBOXA) {
        items = SendMessageA(control, CB_GETCOUNT, 0, 0);
    } else if (kind == TOOLBARCLASSNAMEA) {
        items = SendMessageA(control, TB_BUTTONCOUNT, 0, 0);
    }
    char text[256] = "";
    GetWindowTextA(control, text, sizeof text);
    std::fprintf(listing->file, "%s\t%#lx\t%#lx\t%ld\t%ld\t%ld\t%ld\t%d\t%ld\t%s\n", kind.c_str(),
                 static_cast<unsigned long>(GetWindowLongA(control, GWL_STYLE)),
                 static_cast<unsigned long>(GetWindowLongA(control, GWL_EXSTYLE)), place.left,
                 place.top, place.right - place.left, place.bottom - place.top,
                 GetDlgCtrlID(control), static_cast<long>(items), text);
    ++listing->count;
    return TRUE;
}

// Writes the list the same-controls window is made from, read from Zorvane's own window;
// returns how many controls it names.
int ListZorvaneControls(const std::string& zorvane, const std::string& list) {
    PROCESS_INFORMATION process = zv::bench::Start(zorvane, "");
    HWND window = nullptr;
    int count = 0;
    FILE* file = std::fopen(list.c_str(), "wb");
    if (file != nullptr &&
        zv::bench::WaitForVisibleWindow(process.dwProcessId, 10000, &window) >= 0) {
        Sleep(500);  // the window's load ends after it shows
        RECT client;
        GetClientRect(window, &client);
        char title[256] = "";
        GetWindowTextA(window, title, sizeof title);
        std::fprintf(file, "window\t%#lx\t%#lx\t%ld\t%ld\t%s\n",
                     static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                     static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)), client.right,
                     client.bottom, title);
        Listing listing{window, file, 0};
        EnumChildWindows(window, ListControl, reinterpret_cast<LPARAM>(&listing));
        count = listing.count;
    }
    if (file != nullptr) {
        std::fclose(file);
    }
    zv::bench::Stop(process);
    return count;
}

}  // namespace

int main() {
    SwitchOffStartupTip();
    const std::string minimal = OwnDir() + "\\minimal_window.exe";
    const std::string same_controls = OwnDir() + "\\same_controls_window.exe";
    const std::string list = OwnDir() + "\\same_controls.txt";
    const std::string zorvane = zv::bench::AppDir() + "\\Zorvane.exe";
    const int controls = ListZorvaneControls(zorvane, list);
    if (controls == 0) {
        std::printf("could not list the controls of Zorvane's window\n");
        return 1;
    }
    std::printf("Zorvane's window has %d controls; the same-controls window makes them too\n",
                controls);
    const int runs = 15;
    std::vector<double> minimal_ms, same_ms, zorvane_ms;
    TimeToWindow(minimal);  // warms the wineserver and the file cache
    TimeToWindow(same_controls, list);
    TimeToWindow(zorvane);
    for (int i = 0; i < runs; ++i) {
        minimal_ms.push_back(TimeToWindow(minimal));
        same_ms.push_back(TimeToWindow(same_controls, list));
        zorvane_ms.push_back(TimeToWindow(zorvane));
    }
    const double base = zv::bench::Median(minimal_ms);
    const double floor = zv::bench::Median(same_ms);
    const double ours = zv::bench::Median(zorvane_ms);
    std::printf("start to visible window, median of %d runs:\n", runs);
    std::printf("  minimal Win32 window            %8.1f ms\n", base);
    std::printf("  same controls, plainest way     %8.1f ms\n", floor);
    std::printf("  Zorvane.exe                     %8.1f ms\n", ours);
    std::printf("  against the minimal window      %8.2f (for reference)\n",
                base > 0 ? ours / base : 0);
    std::printf("  against the same controls       %8.2f (target <= 1.10)\n",
                floor > 0 ? ours / floor : 0);
    return 0;
}
