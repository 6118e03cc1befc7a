// The windows of both programs as a keyboard user and a screen reader meet them: how each
// is opened, and its controls in reading order (hidden ones and empty texts left out) with
// the name oleacc gives each and whether Tab stops on it there and then.
#pragma once

#include <windows.h>

#include <vector>

namespace zv::e2e {

enum class Program { Zorvane, Vigilo, Both };

// Tab stops on the control.
constexpr bool kTab = true;
constexpr bool kNoTab = false;

// A control's name as oleacc reads it; a name ending in * is matched by its start (a text
// that changes with the run), and kNoName marks a control whose name Wine cannot read right
// (each row says why): its role alone is checked.
struct ControlRow {
    int id;
    const char* name;
    bool tab;
};
constexpr const char* kNoName = nullptr;

// How the window comes up: a command posted to the program's main (or tray) window, or a
// click of one of its controls.
enum class Via { AtStart, Command, Click };

struct WindowRows {
    const char* label;
    Program program;
    const char* class_name;
    Via via;
    int command;
    const char* menu_keys;  // the access keys its menu bar takes
    std::vector<ControlRow> controls;
};

const std::vector<WindowRows>& AllWindowRows();

// The IDs Tab visits, in order.
std::vector<int> TabStops(const WindowRows& rows);

// The programs' windows that stay up through the run.
struct Opened {
    HWND main;
    DWORD zorvane_id;
    HWND monitor;
    DWORD vigilo_id;
};

// The window in front, or nullptr when it did not come up.
HWND OpenWindow(const WindowRows& rows, const Opened& programs);
// By Esc, as a user closes it.
void CloseWindow(HWND window, const WindowRows& rows, const Opened& programs);

}  // namespace zv::e2e
