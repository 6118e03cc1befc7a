#include "win32/ui/save_file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "win32/platform/system_library.h"

namespace zv::win32 {

std::string ChooseSaveFile(const SaveFileRequest& request) {
    std::vector<char> file(MAX_PATH, '\0');
    request.suggested_name.copy(file.data(), file.size() - 1);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = request.filter;
    dialog.nFilterIndex = static_cast<DWORD>(request.filter_index);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir =
        request.initial_folder.empty() ? nullptr : request.initial_folder.c_str();
    dialog.lpstrTitle = request.title;
    dialog.lpstrDefExt = request.default_extension;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // The common dialogs are loaded for this one use, not with the program.
    SystemLibrary comdlg32("comdlg32.dll");
    using GetSaveFileNameFn = BOOL(WINAPI*)(OPENFILENAMEA*);
    auto get_save_file_name = comdlg32.Function<GetSaveFileNameFn>("GetSaveFileNameA");
    if (get_save_file_name == nullptr || !get_save_file_name(&dialog)) {
        return std::string();
    }
    return std::string(file.data());
}

}  // namespace zv::win32
