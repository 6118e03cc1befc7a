#include "win32/vigilo/frm_vigilo.h"

#include <map>
#include <string>

#include "shell/tray_icon.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::win32 {
namespace {

const std::map<std::string, UINT>& MenuCommandIds() {
    static const std::map<std::string, UINT> ids = {
        {"mnuZorvane", vigilo_ids::mnuZorvane},
        {"mnuPingConfiguration", vigilo_ids::mnuPingConfiguration},
        {"mnuPingNow", vigilo_ids::mnuPingNow},
        {"mnuWebsite", vigilo_ids::mnuWebsite},
        {"mnuemail", vigilo_ids::mnuemail},
        {"mnuHelp", vigilo_ids::mnuHelp},
        {"mnuDisable", vigilo_ids::mnuDisable},
        {"mnuExit", vigilo_ids::mnuExit},
    };
    return ids;
}

}  // namespace

VigiloImages::VigiloImages() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    int cx = GetSystemMetrics(SM_CXSMICON);
    int cy = GetSystemMetrics(SM_CYSMICON);
    for (int i = 0; i < vigilo_ids::imgVigiloCount; ++i) {
        icons_.push_back(static_cast<HICON>(LoadImageA(
            instance, MAKEINTRESOURCEA(vigilo_ids::imgVigilo1 + i), IMAGE_ICON, cx, cy, 0)));
    }
}

VigiloImages::~VigiloImages() {
    for (HICON icon : icons_) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

FrmVigilo::FrmVigilo(KeepAlive& keep_alive, shell::Launchers& launchers,
                     ui::MessageBoxPort& messages)
    : tray_(images_.icons()),
      keep_alive_(keep_alive),
      ping_(keep_alive.Ping()),
      launchers_(launchers),
      controller_({ping_, launchers_, tray_, messages, *this}),
      // Sent to every top-level window when the shell (re)starts its taskbar.
      taskbar_created_(RegisterWindowMessageA("TaskbarCreated")) {}

FrmVigilo::~FrmVigilo() {
    binder_.reset();
    if (popup_ != nullptr) {
        DestroyMenu(popup_);
    }
}

bool FrmVigilo::Load() {
    if (!Create("ZorvaneVigilo", controller_.frmVigilo.caption().c_str(), WS_OVERLAPPEDWINDOW, 0,
                200, 100, nullptr)) {
        return false;
    }
    binder_ = std::make_unique<Binder>(hwnd(), nullptr, 96);
    binder_->BindWindow(controller_.frmVigilo);
    binder_->BindTimer(controller_.TimerVigilo, vigilo_ids::TimerVigilo);
    binder_->BindTimer(controller_.TimerIcon, vigilo_ids::TimerIcon);
    binder_->BindTimer(controller_.TimerPing, vigilo_ids::TimerPing);
    BuildPopupMenu();
    controller_.Load();
    return true;
}

// The popup of the model's entries: separators, the one submenu, and command items bound
// to their models (the Disable item changes its caption).
void FrmVigilo::BuildPopupMenu() {
    std::map<const ui::MenuItem*, HMENU> menus{{&controller_.mnupopupmenu, CreatePopupMenu()}};
    const auto& entries = controller_.PopupEntries();
    for (const monitor::PopupEntry& entry : entries) {
        HMENU parent = menus.at(entry.parent);
        const std::string& caption = entry.item->caption();
        bool has_children = false;
        for (const monitor::PopupEntry& other : entries) {
            has_children = has_children || other.parent == entry.item;
        }
        if (caption == "-") {
            AppendMenuA(parent, MF_SEPARATOR, 0, nullptr);
        } else if (has_children) {
            HMENU submenu = CreatePopupMenu();
            menus[entry.item] = submenu;
            AppendMenuA(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), caption.c_str());
        } else {
            UINT id = MenuCommandIds().at(entry.item->name());
            AppendMenuA(parent, MF_STRING, id, caption.c_str());
            binder_->BindMenuItem(*entry.item, parent, id);
        }
    }
    popup_ = menus.at(&controller_.mnupopupmenu);
}

void FrmVigilo::BringToForeground() {
    SetForegroundWindow(hwnd());
}

// The menu closes when the user clicks elsewhere only if the window is in the foreground
// while it is up, and the posted message lets the menu loop finish before the next one.
void FrmVigilo::PopupMenu() {
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(popup_, 0, at.x, at.y, 0, hwnd(), nullptr);
    PostMessageA(hwnd(), WM_NULL, 0, 0);
}

// Not owned by the monitor window: Exit closes that window, and an owned dialog would go
// with it.
void FrmVigilo::ShowPingDialog() {
    keep_alive_.OpenPingDialog(nullptr);
}

// Posted, so that the window does not go away inside the menu command that asked for it.
void FrmVigilo::Unload() {
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

LRESULT FrmVigilo::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case shell::kTrayCallbackMessage:
            controller_.HandleTrayMouse(static_cast<int>(LOWORD(lparam)));
            return 0;
        case WM_COMMAND:
            if (binder_ != nullptr && binder_->OnCommand(wparam, lparam)) {
                return 0;
            }
            break;
        case WM_TIMER:
            if (binder_ != nullptr && binder_->OnTimer(wparam)) {
                return 0;
            }
            break;
        case WM_CLOSE:
            controller_.QueryUnload();
            DestroyWindow(hwnd());
            return 0;
        case WM_ENDSESSION:
            if (wparam) {
                controller_.QueryUnload();
            }
            return 0;
        default:
            if (message == taskbar_created_ && taskbar_created_ != 0) {
                controller_.ShellRestarted();
                return 0;
            }
    }
    return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace zv::win32
