#include "win32/ping/mtu_finder_window.h"

#include <commctrl.h>

#include "win32/ping/ping_ids.h"

namespace zv::win32 {

int MtuFinderWindow::ShowModal(HWND owner, const std::string& host, SetAdapterMtu set_adapter_mtu) {
    MtuFinderWindow window(host, std::move(set_adapter_mtu));
    if (!window.Build(owner)) {
        return 0;
    }
    window.RunModal(owner);
    return window.dialog_.chosen_mtu();
}

MtuFinderWindow::MtuFinderWindow(const std::string& host, SetAdapterMtu set_adapter_mtu)
    : search_(std::move(set_adapter_mtu)), dialog_(search_, messages_, host) {
    dialog_.on_unload = [this] { CloseSoon(); };
    dialog_.show_progress = [this](int percent) {
        SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    };
}

// Created in tab order: the host, Find, then the buttons below.
bool MtuFinderWindow::Build(HWND owner) {
    // Esc is its Cancel button, which stops a search before the window goes.
    constexpr DialogShape kShape{frm_mtu::kClassName, ping::kMtuDialogWidth, ping::kMtuDialogHeight,
                                 0, false};
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (!MakeWindow(kShape, dialog_.window, owner)) {
        return false;
    }
    search_.ReportTo(hwnd());
    namespace id = frm_mtu;
    Binder& binder = this->binder();
    binder.AddLabel(dialog_.lblExplain, id::lblExplain);
    binder.AddField(dialog_.fldHost, id::lblHost, id::txtHost);
    binder.AddButton(dialog_.cmdFind, id::cmdFind, BS_DEFPUSHBUTTON);
    binder.AddReaderName("Search progress", ping::kMtuProgressBounds);
    progress_ = binder.AddProgressBar(ping::kMtuProgressBounds, id::prgSearch);
    SendMessageA(progress_, PBM_SETRANGE, 0, MAKELPARAM(0, ping::kMtuProgressDone));
    binder.AddLabel(dialog_.lblStatus, id::lblStatus);
    binder.AddButton(dialog_.cmdAdapter, id::cmdAdapter);
    binder.AddButton(dialog_.cmdUse, id::cmdUse);
    binder.AddButton(dialog_.cmdCancel, id::cmdCancel);
    return true;
}

LRESULT MtuFinderWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        // Cancel stops a search rather than closing, so the base's own Esc is not used.
        case WM_CLOSE:
            dialog_.Close();
            return 0;
        case kMtuEchoMessage:
            dialog_.OnEcho(static_cast<int>(wparam), static_cast<int>(lparam));
            return 0;
        case kMtuDoneMessage:
            dialog_.OnFinished(search_.TakeResult());
            return 0;
        case kMtuAdapterMessage:
            dialog_.OnAdapterSet(search_.TakeAdapterOutcome());
            return 0;
        default:
            break;
    }
    return SmallDialog::HandleMessage(message, wparam, lparam);
}

}  // namespace zv::win32
