// The common "Save As" dialog, with comdlg32 loaded from the system folder for this one use
// rather than with the program.
#pragma once

#include <windows.h>

#include <string>

namespace zv::win32 {

// In the order a caller names them: {owner, title, filter, extension, folder, name}.
struct SaveFileRequest {
    HWND owner = nullptr;
    const char* title = nullptr;
    // Pairs of description and pattern, each ended by a NUL, the list by a second one.
    const char* filter = nullptr;
    const char* default_extension = nullptr;  // added to a name typed without one
    std::string initial_folder;               // empty: the dialog's own choice
    std::string suggested_name;
    int filter_index = 1;  // the pair shown first, from 1
};

// The chosen path, or empty text when the user cancelled or the dialog could not be shown.
std::string ChooseSaveFile(const SaveFileRequest& request);
// The same through the wide dialog, the path as UTF-8 (the request's texts are ANSI): a
// folder or name outside the ANSI code page comes back whole, for a Win32FileSystem of
// UTF-8 paths to write. `filter_chosen`, when given, gets the pair the user left chosen.
std::string ChooseSaveFileUtf8(const SaveFileRequest& request, int* filter_chosen = nullptr);

}  // namespace zv::win32
