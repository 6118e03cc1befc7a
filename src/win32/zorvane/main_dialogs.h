// The main window's modal dialogs that hand nothing back, made from one table: each row
// names the dialog and opens it over the main window. A new dialog of this kind is a value
// of main_menu::Dialog and a row of main_dialogs.cpp.
#pragma once

#include <windows.h>

#include "main_window/main_menu.h"
#include "main_window/program_records.h"
#include "win32/zorvane/tip_window.h"
#include "win32/zorvane/zorvane_services.h"

namespace zv::win32 {

// What a dialog of the table may reach: the window it opens over, the program's records
// and its services.
struct DialogOwner {
    HWND window;
    main_window::ProgramRecords& records;
    ZorvaneServices& services;
};

// Opens the dialog over its owner; returns when it closed.
void ShowMainDialog(main_window::main_menu::Dialog dialog, const DialogOwner& owner);

// What the tip of the day needs, modal at start or modeless from the Help menu.
TipServices TipServicesOf(const main_window::ProgramRecords& records, ZorvaneServices& services);

}  // namespace zv::win32
