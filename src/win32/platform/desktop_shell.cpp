#include "win32/platform/desktop_shell.h"

#include <windows.h>

#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "win32/platform/com_ref.h"
#include "win32/platform/wide_text.h"

namespace zv::win32 {
namespace {

using CoInitializeFn = HRESULT(WINAPI*)(LPVOID);
using CoUninitializeFn = void(WINAPI*)();
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
using SysAllocStringFn = BSTR(WINAPI*)(const OLECHAR*);
using SysFreeStringFn = void(WINAPI*)(BSTR);

// A BSTR variant that frees its string.
class TextVariant {
  public:
    TextVariant(const std::string& text, SysAllocStringFn alloc, SysFreeStringFn free)
        : free_(free), value_(EmptyVariant()) {
        if (!text.empty()) {
            value_.vt = VT_BSTR;
            value_.bstrVal = alloc(WideFromAnsi(text).c_str());
        }
    }
    ~TextVariant() {
        if (value_.vt == VT_BSTR && value_.bstrVal != nullptr) {
            free_(value_.bstrVal);
        }
    }
    TextVariant(const TextVariant&) = delete;
    TextVariant& operator=(const TextVariant&) = delete;

    const VARIANT& get() const { return value_; }
    BSTR text() const { return value_.vt == VT_BSTR ? value_.bstrVal : nullptr; }

  private:
    SysFreeStringFn free_;
    VARIANT value_;
};

// The desktop's IShellDispatch2, found through the shell windows list; false when there is
// no desktop shell to ask (none registered its desktop window, or it refuses the request).
bool FindDesktopDispatch(CoCreateInstanceFn create, ComRef<IShellDispatch2>& dispatch,
                         HWND& desktop) {
    ComRef<IShellWindows> windows;
    if (FAILED(create(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                      windows.out_void()))) {
        return false;
    }
    VARIANT location = EmptyVariant();
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    VARIANT root = EmptyVariant();
    LONG window = 0;
    ComRef<IDispatch> found;
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              found.out()) != S_OK ||
        found.get() == nullptr) {
        return false;
    }
    ComRef<IServiceProvider> services;
    ComRef<IShellBrowser> browser;
    ComRef<IShellView> view;
    ComRef<IDispatch> background;
    ComRef<IShellFolderViewDual> folder_view;
    ComRef<IDispatch> application;
    bool ok =
        SUCCEEDED(found->QueryInterface(IID_IServiceProvider, services.out_void())) &&
        SUCCEEDED(
            services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.out_void())) &&
        SUCCEEDED(browser->QueryActiveShellView(view.out())) &&
        SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.out_void())) &&
        SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folder_view.out_void())) &&
        SUCCEEDED(folder_view->get_Application(application.out())) &&
        SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, dispatch.out_void()));
    desktop = reinterpret_cast<HWND>(static_cast<LONG_PTR>(window));
    return ok;
}

}  // namespace

bool DesktopShell::Open(const std::string& file, const std::string& arguments, int show_mode) {
    auto co_initialize = ole32_.Function<CoInitializeFn>("CoInitialize");
    auto co_uninitialize = ole32_.Function<CoUninitializeFn>("CoUninitialize");
    auto co_create = ole32_.Function<CoCreateInstanceFn>("CoCreateInstance");
    auto alloc = oleaut32_.Function<SysAllocStringFn>("SysAllocString");
    auto free = oleaut32_.Function<SysFreeStringFn>("SysFreeString");
    if (!co_initialize || !co_uninitialize || !co_create || !alloc || !free) {
        return false;
    }
    // S_FALSE when this thread has COM already (a file dialog started it); either way the
    // call is balanced. A thread in the other apartment model can still make the calls.
    bool initialized = SUCCEEDED(co_initialize(nullptr));
    bool started = false;
    {
        ComRef<IShellDispatch2> dispatch;
        HWND desktop = nullptr;
        if (FindDesktopDispatch(co_create, dispatch, desktop)) {
            // Explorer starts the program; let it hand the foreground on to what it starts.
            DWORD explorer = 0;
            if (GetWindowThreadProcessId(desktop, &explorer) != 0) {
                AllowSetForegroundWindow(explorer);
            }
            TextVariant name(file, alloc, free);
            TextVariant args(arguments, alloc, free);
            TextVariant folder("", alloc, free);
            TextVariant verb("open", alloc, free);
            VARIANT show = EmptyVariant();
            show.vt = VT_I4;
            show.lVal = show_mode;
            started = name.text() != nullptr &&
                      SUCCEEDED(dispatch->ShellExecute(name.text(), args.get(), folder.get(),
                                                       verb.get(), show));
        }
    }
    if (initialized) {
        co_uninitialize();
    }
    return started;
}

}  // namespace zv::win32
