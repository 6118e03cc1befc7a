#include "ping/mtu_finder_view.h"

#include "common/numbers.h"

namespace zv::ping {

MtuFinderView::MtuFinderView(MtuSearchRunner& runner, ui::MessageBoxPort& messages,
                             const std::string& host)
    : runner_(runner), messages_(messages) {
    PlaceControls();
    fldHost.box.SetText(host);
    cmdUse.SetEnabled(false);
    cmdAdapter.SetEnabled(false);
    cmdFind.on_click = [this] { cmdFind_Click(); };
    cmdAdapter.on_click = [this] { cmdAdapter_Click(); };
    cmdUse.on_click = [this] { cmdUse_Click(); };
    cmdCancel.on_click = [this] { cmdCancel_Click(); };
}

void MtuFinderView::PlaceControls() {
    lblExplain.SetBounds({240, 240, 5760, 480});
    fldHost.label.SetBounds({240, 960, 720, 255});
    fldHost.box.SetBounds({960, 900, 3240, 315});
    cmdFind.SetBounds({4440, 870, 1560, 375});
    lblStatus.SetBounds({240, 1800, 5760, 660});
    cmdAdapter.SetBounds({240, 2580, 2040, 375});
    cmdUse.SetBounds({2400, 2580, 2040, 375});
    cmdCancel.SetBounds({4560, 2580, 1440, 375});
}

void MtuFinderView::SetSearching(bool searching) {
    searching_ = searching;
    ShowButtons();
}

void MtuFinderView::ShowButtons() {
    const bool busy = searching_ || setting_adapter_;
    fldHost.box.SetEnabled(!busy);
    cmdFind.SetEnabled(!busy);
    cmdUse.SetEnabled(!busy && found_mtu_ != 0);
    cmdAdapter.SetEnabled(!busy && found_mtu_ != 0);
    cmdCancel.SetCaption(searching_ ? "Cancel" : "Close");
}

void MtuFinderView::cmdFind_Click() {
    if (searching_ || setting_adapter_) {
        return;
    }
    if (TrimBlanks(fldHost.box.text()).empty()) {
        lblStatus.SetCaption("Enter a host to test.");
        return;
    }
    found_mtu_ = 0;
    lblStatus.SetCaption("");
    if (show_progress) {
        show_progress(0);
    }
    SetSearching(true);
    runner_.Start(fldHost.box.text());
}

void MtuFinderView::OnEcho(int percent, int mtu) {
    lblStatus.SetCaption("Trying MTU " + std::to_string(mtu) + "...");
    if (show_progress) {
        show_progress(percent);
    }
}

void MtuFinderView::OnFinished(const MtuSearchResult& result) {
    found_mtu_ = result.outcome == MtuOutcome::Found ? result.mtu : 0;
    found_address_ = result.address;
    lblStatus.SetCaption(DescribeMtuResult(result, fldHost.box.text()));
    if (show_progress) {
        show_progress(found_mtu_ != 0 ? kMtuProgressDone : 0);
    }
    SetSearching(false);
}

void MtuFinderView::cmdAdapter_Click() {
    if (searching_ || setting_adapter_ || found_mtu_ == 0) {
        return;
    }
    setting_adapter_ = true;
    lblStatus.SetCaption("Setting the adapter's MTU to " + std::to_string(found_mtu_) + "...");
    ShowButtons();
    runner_.UseForAdapter(found_address_, found_mtu_);
}

void MtuFinderView::OnAdapterSet(const std::string& outcome) {
    setting_adapter_ = false;
    lblStatus.SetCaption(outcome);
    ShowButtons();
    if (held_close_.ToldEnd(messages_, window.caption(), outcome)) {
        Close();
    }
}

void MtuFinderView::cmdUse_Click() {
    chosen_mtu_ = found_mtu_;
    Close();
}

// While a search runs this button stops it and the dialog stays; otherwise it closes.
void MtuFinderView::cmdCancel_Click() {
    if (searching_) {
        runner_.Cancel();
        return;
    }
    Close();
}

void MtuFinderView::Close() {
    if (setting_adapter_) {
        held_close_.Hold(cmdCancel, lblStatus);
        return;
    }
    if (searching_) {
        runner_.Cancel();
    }
    if (on_unload) {
        on_unload();
    }
}

}  // namespace zv::ping
