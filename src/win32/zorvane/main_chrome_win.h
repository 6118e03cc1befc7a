// The main window's real chrome: the menu bar built from the menu model, the toolbar (with its
// pictures and tooltips) and the four-part status bar, each kept in step with its model. frmMain
// creates it, forwards the messages below to it, and lays its settings frame out under
// ToolbarHeight().
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "main_window/main_chrome.h"
#include "ui/palette.h"
#include "win32/platform/wide_text.h"
#include "win32/ui/real_menu.h"
#include "win32/zorvane/tip_window.h"

namespace zv::win32 {

class MainChromeWin {
  public:
    // frm_main: the main window; services: what the tip dialog of the Help menu needs.
    MainChromeWin(HWND frm_main, const TipServices& services);
    ~MainChromeWin();
    MainChromeWin(const MainChromeWin&) = delete;
    MainChromeWin& operator=(const MainChromeWin&) = delete;

    // Builds the real menus, toolbar and status bar from the chrome's models, in the main
    // window's font (which the window keeps) and at its DPI; the models' toolbar and status
    // bar bounds are set from the real controls (twips). The window lays them out once it
    // has its size (OnSize).
    void Create(main_window::MainChrome& chrome, HFONT font, int dpi);

    // The main window's DPI changed: the toolbar's pictures are drawn anew at their size
    // for it, and both bars take the new font (which the window keeps) and their heights.
    void Rescale(HFONT font, int dpi);

    // Pixels the toolbar takes at the top of the client area (0 while hidden).
    int ToolbarHeight() const;
    // Pixels the status bar takes at the bottom of the client area (0 while hidden).
    int StatusBarHeight() const;

    // Messages of frmMain; each returns true when it handled the message.
    bool OnCommand(WPARAM wparam, LPARAM lparam);
    bool OnNotify(LPARAM lparam, LRESULT* result);
    void OnSize();

    // The system colours option, high contrast or the dark setting changed: the toolbar's
    // pictures are drawn anew.
    void ColoursChanged();
    // True when a message of Windows changes the colours the toolbar's pictures are in.
    bool ColoursChangedBy(UINT message) const;

    // True while a tip dialog opened from the Help menu is still on screen.
    bool ModelessTipOpen();

    // The tip of the day from the Help menu, modeless.
    void ShowTipDialog();

  private:
    class ToolbarView;
    class StatusBarView;

    void CreateToolbar();
    void MakeToolbarImages();
    void CreateStatusBar();
    void KeepToolbarBounds();
    void KeepStatusBarBounds();
    void UpdateToolbarImages();
    void UpdateStatusTexts();
    void LayOutStatusParts();
    const char* TooltipFor(UINT_PTR command) const;

    HWND frm_main_;
    TipServices tip_services_;
    main_window::MainChrome* chrome_ = nullptr;
    int dpi_ = 96;
    HFONT font_ = nullptr;  // the main window's
    std::unique_ptr<RealMenu> menu_bar_;
    HWND toolbar_ = nullptr;
    HWND status_bar_ = nullptr;
    HIMAGELIST images_ = nullptr;
    ui::Scheme scheme_ = ui::Scheme::Normal;  // the toolbar's pictures are of it
    std::unique_ptr<ToolbarView> toolbar_view_;
    std::unique_ptr<StatusBarView> status_view_;
    WideText wide_tooltip_;
    // The modeless tips opened so far; closed ones are dropped when next asked about.
    std::vector<HWND> modeless_tips_;
};

}  // namespace zv::win32
