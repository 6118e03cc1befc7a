#include "win32/vigilo/report_opener.h"

#include <shellapi.h>

#include "win32/platform/system_library.h"
#include "win32/platform/wide_text.h"

namespace zv::win32 {
namespace {

// A browser that takes long to start is not waited for at exit.
constexpr DWORD kExitWaitMs = 2000;

unsigned long OpenPage(const WideText& path) {
    SystemLibrary shell32("shell32.dll");
    using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    auto shell_execute_ex = shell32.Function<ShellExecuteExFn>("ShellExecuteExW");
    if (shell_execute_ex == nullptr) {
        return ERROR_PROC_NOT_FOUND;
    }
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    return shell_execute_ex(&info) ? 0 : GetLastError();
}

}  // namespace

ReportOpener::ReportOpener() : OneJobWorker(kReportOpenedMessage, kExitWaitMs) {}

void ReportOpener::Open(const std::string& page_path) {
    Start([path = WideFromUtf8(page_path)] { return OpenPage(path); });
}

}  // namespace zv::win32
