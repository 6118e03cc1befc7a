#include "win32/ui/save_file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "win32/platform/system_library.h"
#include "win32/platform/wide_text.h"

namespace zv::win32 {

namespace {

// Fills what the ANSI and the wide dialog share and shows it: false when the user cancelled
// or comdlg32 could not give the function.
template <typename Dialog, typename Char>
bool ShowSaveDialog(Dialog& dialog, const SaveFileRequest& request, std::vector<Char>& file,
                    const char* function_name) {
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = request.owner;
    dialog.nFilterIndex = static_cast<DWORD>(request.filter_index);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // The common dialogs are loaded for this one use, not with the program.
    SystemLibrary comdlg32("comdlg32.dll");
    using GetSaveFileNameFn = BOOL(WINAPI*)(Dialog*);
    auto get_save_file_name = comdlg32.Function<GetSaveFileNameFn>(function_name);
    return get_save_file_name != nullptr && get_save_file_name(&dialog);
}

}  // namespace

std::string ChooseSaveFile(const SaveFileRequest& request) {
    std::vector<char> file(MAX_PATH, '\0');
    request.suggested_name.copy(file.data(), file.size() - 1);
    OPENFILENAMEA dialog{};
    dialog.lpstrFilter = request.filter;
    dialog.lpstrInitialDir =
        request.initial_folder.empty() ? nullptr : request.initial_folder.c_str();
    dialog.lpstrTitle = request.title;
    dialog.lpstrDefExt = request.default_extension;
    if (!ShowSaveDialog(dialog, request, file, "GetSaveFileNameA")) {
        return std::string();
    }
    return std::string(file.data());
}

namespace {

// A list of NUL-ended texts ended by a second NUL, widened whole.
WideText WideFilter(const char* filter) {
    if (filter == nullptr) {
        return WideText();
    }
    std::size_t length = 0;
    while (filter[length] != '\0' || filter[length + 1] != '\0') {
        ++length;
    }
    return WideFromAnsi(std::string(filter, length + 2));
}

WideText WideOrEmpty(const char* text) {
    return text == nullptr ? WideText() : WideFromAnsi(text);
}

}  // namespace

std::string ChooseSaveFileUtf8(const SaveFileRequest& request, int* filter_chosen) {
    WideText name = WideFromAnsi(request.suggested_name);
    std::vector<wchar_t> file(MAX_PATH, L'\0');
    std::copy_n(name.c_str(), std::min(name.size(), file.size() - 1), file.begin());
    WideText filter = WideFilter(request.filter);
    WideText folder = WideFromAnsi(request.initial_folder);
    WideText title = WideOrEmpty(request.title);
    WideText extension = WideOrEmpty(request.default_extension);
    OPENFILENAMEW dialog{};
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = request.title == nullptr ? nullptr : title.c_str();
    dialog.lpstrDefExt = request.default_extension == nullptr ? nullptr : extension.c_str();
    if (!ShowSaveDialog(dialog, request, file, "GetSaveFileNameW")) {
        return std::string();
    }
    if (filter_chosen != nullptr) {
        *filter_chosen = static_cast<int>(dialog.nFilterIndex);
    }
    return Utf8FromWide(file.data());
}

}  // namespace zv::win32
