#include "ping/mtu_finder_view.h"

#include "common/numbers.h"

namespace zv::ping {

namespace {

ui::Bounds At(int left, int top, int width, int height) {
    return ui::Bounds{left, top, width, height};
}

}  // namespace

MtuFinderView::MtuFinderView(MtuSearchRunner& runner, const std::string& host) : runner_(runner) {
    PlaceControls();
    txtHost.SetText(host);
    cmdUse.SetEnabled(false);
    cmdFind.on_click = [this] { cmdFind_Click(); };
    cmdUse.on_click = [this] { cmdUse_Click(); };
    cmdCancel.on_click = [this] { cmdCancel_Click(); };
}

void MtuFinderView::PlaceControls() {
    lblExplain.SetBounds(At(240, 240, 5760, 480));
    lblHost.SetBounds(At(240, 960, 720, 255));
    txtHost.SetBounds(At(960, 900, 3240, 315));
    cmdFind.SetBounds(At(4440, 870, 1560, 375));
    lblStatus.SetBounds(At(240, 1800, 5760, 660));
    cmdUse.SetBounds(At(2280, 2580, 2160, 375));
    cmdCancel.SetBounds(At(4680, 2580, 1320, 375));
}

void MtuFinderView::SetSearching(bool searching) {
    searching_ = searching;
    txtHost.SetEnabled(!searching);
    cmdFind.SetEnabled(!searching);
    cmdUse.SetEnabled(!searching && found_mtu_ != 0);
    cmdCancel.SetCaption(searching ? "Cancel" : "Close");
}

void MtuFinderView::cmdFind_Click() {
    if (searching_) {
        return;
    }
    if (TrimBlanks(txtHost.text()).empty()) {
        lblStatus.SetCaption("Enter a host to test.");
        return;
    }
    found_mtu_ = 0;
    lblStatus.SetCaption("");
    if (show_progress) {
        show_progress(0);
    }
    SetSearching(true);
    runner_.Start(txtHost.text());
}

void MtuFinderView::OnEcho(int percent, int mtu) {
    lblStatus.SetCaption("Trying MTU " + std::to_string(mtu) + "...");
    if (show_progress) {
        show_progress(percent);
    }
}

void MtuFinderView::OnFinished(const MtuSearchResult& result) {
    found_mtu_ = result.outcome == MtuOutcome::Found ? result.mtu : 0;
    lblStatus.SetCaption(DescribeMtuResult(result, txtHost.text()));
    if (show_progress) {
        show_progress(found_mtu_ != 0 ? kMtuProgressDone : 0);
    }
    SetSearching(false);
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
    if (searching_) {
        runner_.Cancel();
    }
    if (on_unload) {
        on_unload();
    }
}

}  // namespace zv::ping
