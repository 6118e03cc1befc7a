// A stand-in for the main window: a plain window with a settings frame that carries the
// real menus, toolbar and status bar, and logs every operation they ask for to
// "chrome_host.log" beside it. With "tip" it shows the start-up tip first; with
// "display TEXT" the explanation dialog for that connection type.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "shell/launchers.h"
#include "shell/main_chrome.h"
#include "win32/platform/program_directory.h"
#include "win32/platform/win32_file_system.h"
#include "win32/shell/registry_tip_option.h"
#include "win32/shell/win32_launcher.h"
#include "win32/ui/layout.h"
#include "win32/ui/win_ports.h"
#include "win32/ui/window_base.h"
#include "win32/zorvane/display_window.h"
#include "win32/zorvane/main_chrome_win.h"
#include "win32/zorvane/tip_window.h"
#include "win32/zorvane/toolbar_images.h"

namespace zv::win32 {
namespace {

constexpr int kFrameId = 400;

class HostWindow : public WindowBase, public shell::MainCommands {
  public:
    HostWindow(const TipServices& tips, const std::string& dir)
        : tips_(tips), launchers_(launcher_, dir), log_path_(dir + "\\chrome_host.log") {}

    bool Build() {
        dpi_ = ScreenDpi();
        if (!Create("ZorvaneChromeHost", "Zorvane", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0,
                    TwipsToPixels(8400, dpi_), TwipsToPixels(4800, dpi_), nullptr)) {
            return false;
        }
        launcher_.SetOwner(hwnd());
        font_ = CreateMessageFont();
        chrome_win_ = std::make_unique<MainChromeWin>(hwnd(), tips_);
        chrome_ =
            std::make_unique<shell::MainChrome>(*this, *chrome_win_, launchers_, messages_, 6);
        chrome_win_->Create(*chrome_);
        frame_ = CreateWindowExA(0, "BUTTON", "Settings", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 8,
                                 chrome_win_->ToolbarHeight() + 8, TwipsToPixels(8160, dpi_),
                                 TwipsToPixels(3600, dpi_), hwnd(),
                                 reinterpret_cast<HMENU>(kFrameId), nullptr, nullptr);
        SendMessageA(frame_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        RECT client;
        GetClientRect(hwnd(), &client);
        SetWindowPos(hwnd(), nullptr, 0, 0, WindowWidth(),
                     WindowHeight() + chrome_win_->ToolbarHeight() + chrome_win_->StatusBarHeight(),
                     SWP_NOMOVE | SWP_NOZORDER);
        chrome_->ShowWindowsName("Windows XP");
        chrome_->ShowPrompt();
        chrome_->ShowMode("Optimize");
        chrome_->SetToolbarImages();
        return true;
    }

    void Apply() override { Log("Apply"); }
    bool IsApplyEnabled() const override { return apply_enabled_; }
    void Restore() override { Log("Restore"); }
    void BackupRegistry() override { Log("Backup"); }
    void ShowPingDialog() override { Log("PingDialog"); }
    void PingNow() override { Log("PingNow"); }
    void ShowMainWindow() override {
        Log("ShowMain");
        ShowWindow(hwnd(), SW_RESTORE);
    }
    void CloseMainWindow() override { DestroyWindow(hwnd()); }
    void ResizeWindowHeightBy(int twips) override {
        SetWindowPos(hwnd(), nullptr, 0, 0, WindowWidth(),
                     WindowHeight() + TwipsToPixels(twips, dpi_), SWP_NOMOVE | SWP_NOZORDER);
    }
    void MoveSettingsFrameBy(int twips) override {
        RECT r;
        GetWindowRect(frame_, &r);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(frame_, nullptr, r.left, r.top + TwipsToPixels(twips, dpi_), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }

  private:
    int WindowWidth() const {
        RECT r;
        GetWindowRect(hwnd(), &r);
        return r.right - r.left;
    }
    int WindowHeight() const {
        RECT r;
        GetWindowRect(hwnd(), &r);
        return r.bottom - r.top;
    }
    void Log(const char* what) {
        if (FILE* f = std::fopen(log_path_.c_str(), "a")) {
            std::fprintf(f, "%s\n", what);
            std::fclose(f);
        }
    }

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        switch (message) {
            case WM_COMMAND:
                // A driver switches the Apply button's state with these two private commands.
                if (LOWORD(wparam) == 901 || LOWORD(wparam) == 902) {
                    apply_enabled_ = LOWORD(wparam) == 901;
                    return 0;
                }
                if (chrome_win_ && chrome_win_->OnCommand(wparam, lparam)) {
                    return 0;
                }
                break;
            case WM_NOTIFY: {
                LRESULT result = 0;
                if (chrome_win_ && chrome_win_->OnNotify(lparam, &result)) {
                    return result;
                }
                break;
            }
            case WM_SIZE:
                if (chrome_win_) {
                    chrome_win_->OnSize();
                }
                break;
            case WM_MOUSEMOVE:
                if (wparam == 1 && chrome_win_) {  // the tray callback carries the icon's ID
                    chrome_win_->OnTrayCallback(lparam);
                }
                return 0;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                break;
        }
        return WindowBase::HandleMessage(message, wparam, lparam);
    }

    TipServices tips_;
    Win32Launcher launcher_;
    shell::Launchers launchers_;
    Win32MessageBox messages_;
    std::string log_path_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HWND frame_ = nullptr;
    bool apply_enabled_ = true;
    std::unique_ptr<shell::MainChrome> chrome_;
    std::unique_ptr<MainChromeWin> chrome_win_;
};

// Paints every toolbar picture at three sizes, to look at them closely.
class ImageSheet : public WindowBase {
  public:
    bool Build() {
        return Create("ZorvaneImageSheet", "Toolbar pictures", WS_OVERLAPPEDWINDOW, 0, 720, 180,
                      nullptr);
    }

  private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd(), &paint);
            int sizes[] = {16, 24, 64};
            int top = 4;
            for (int size : sizes) {
                for (int image = 1; image <= kToolbarImageCount; ++image) {
                    DrawToolbarImage(dc, image, 4 + (image - 1) * (size + 6), top, size);
                }
                top += size + 8;
            }
            EndPaint(hwnd(), &paint);
            return 0;
        }
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
        }
        return WindowBase::HandleMessage(message, wparam, lparam);
    }
};

}  // namespace
}  // namespace zv::win32

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace zv::win32;
    std::string dir = ProgramDirectory();
    Win32FileSystem files;
    RegistryTipOption option;
    zv::shell::ClockSeededRandom random;
    TipServices tips{files, option, random, dir};
    std::string mode = __argc > 1 ? __argv[1] : "";
    if (mode == "images") {
        ImageSheet sheet;
        sheet.Build();
        ShowWindow(sheet.hwnd(), SW_SHOWNORMAL);
        return RunMessageLoop();
    }
    if (mode == "display") {
        DisplayWindow::ShowModal(nullptr, __argc > 2 ? __argv[2] : "");
        return 0;
    }
    HostWindow host(tips, dir);
    if (!host.Build()) {
        return 1;
    }
    if (mode == "tip") {
        TipWindow::ShowAtStartup(host.hwnd(), tips);
    }
    ShowWindow(host.hwnd(), SW_SHOWNORMAL);
    return RunMessageLoop();
}
