// The "Find Largest MTU" dialog as a controller over its controls: a host (the ping host
// by default), Find, the search's progress and result, "Use for This Adapter" (the MTU
// found set on the adapter that routes to the host), "Use in Manual Mode", and one button
// that cancels a running search or else closes the dialog. The search and the adapter's
// change run away from the window, behind MtuSearchRunner, so the window keeps answering.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ping/mtu_finder.h"
#include "ui/captioned.h"
#include "ui/field.h"
#include "ui/held_close.h"
#include "ui/ports.h"
#include "ui/text_box.h"

namespace zv::ping {

// Client area of the dialog, in twips.
inline constexpr int kMtuDialogWidth = 6240;
inline constexpr int kMtuDialogHeight = 3180;
// Where the window draws the progress bar, between the host and the status.
inline constexpr ui::Bounds kMtuProgressBounds{240, 1440, 5760, 240};

// Runs searches for the dialog. Start returns at once; the search's echoes and its end
// come back to the dialog's OnEcho and OnFinished on the window's own thread.
class MtuSearchRunner {
  public:
    virtual ~MtuSearchRunner() = default;
    virtual void Start(const std::string& host) = 0;
    // Asks the running search to stop before its next echo; its end still comes back.
    virtual void Cancel() = 0;
    // Sets the IPv4 MTU of the adapter that routes to the address (network byte order),
    // now and persistently, recorded for Undo; the outcome comes back to OnAdapterSet.
    virtual void UseForAdapter(uint32_t address, int mtu) = 0;
};

class MtuFinderView {
  public:
    MtuFinderView(MtuSearchRunner& runner, ui::MessageBoxPort& messages, const std::string& host);
    MtuFinderView(const MtuFinderView&) = delete;
    MtuFinderView& operator=(const MtuFinderView&) = delete;

    // The share of the search done, 0 to kMtuProgressDone percent, for the progress bar.
    std::function<void(int percent)> show_progress;
    // The dialog is to close; a running search has been asked to stop.
    std::function<void()> on_unload;

    void OnEcho(int percent, int mtu);
    void OnFinished(const MtuSearchResult& result);
    // One line: the MTU set, or why it was not (refused, not available on this Windows).
    void OnAdapterSet(const std::string& outcome);

    // The close box and Esc when no search runs. While the adapter's MTU is being set the
    // dialog stays, says so, and closes when the change has ended, telling its outcome.
    void Close();

    // The MTU the user chose to use, once "Use in Manual Mode" was clicked.
    int chosen_mtu() const { return chosen_mtu_; }
    bool searching() const { return searching_; }

    ui::Window window{"Find Largest MTU"};
    ui::Label lblExplain{
        "Finds the largest packet that reaches a host whole: pings that may "
        "not be split, from 576 bytes up to the adapter's MTU."};
    ui::Field<ui::TextBox> fldHost{"&Host:"};
    ui::Button cmdFind{"&Find"};
    ui::Label lblStatus;
    ui::Button cmdAdapter{"Use for &This Adapter"};
    ui::Button cmdUse{"&Use in Manual Mode"};
    ui::Button cmdCancel{"Close"};

  private:
    void PlaceControls();
    void SetSearching(bool searching);
    void ShowButtons();
    void cmdFind_Click();
    void cmdAdapter_Click();
    void cmdUse_Click();
    void cmdCancel_Click();

    MtuSearchRunner& runner_;
    ui::MessageBoxPort& messages_;
    bool searching_ = false;
    bool setting_adapter_ = false;
    ui::HeldClose held_close_;
    int found_mtu_ = 0;
    uint32_t found_address_ = 0;
    int chosen_mtu_ = 0;
};

}  // namespace zv::ping
