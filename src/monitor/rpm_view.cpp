#include "monitor/rpm_view.h"

namespace zv::monitor {
namespace {

constexpr char kCaption[] = "Test Responsiveness";

std::string MbText(int64_t bytes) {
    return std::to_string(bytes / 1000000) + " MB";
}

}  // namespace

NetworkCost CostOfHint(const CostHint& hint) {
    if (hint.cost == 0) {
        return NetworkCost::Unknown;
    }
    bool free = hint.cost == 1 && !hint.approaching_limit && !hint.over_limit && !hint.roaming;
    return free ? NetworkCost::Unmetered : NetworkCost::Metered;
}

RpmView::RpmView(const RpmViewPorts& ports, std::optional<rpm::TestResult> last)
    : ports_(ports), last_(std::move(last)) {
    fldServer.box.SetText(ports_.options.ReadText(kRpmServerOption).value_or(""));
    lblStatus.SetCaption(
        "The test loads your connection for up to half a minute; it starts "
        "only when you press Start.");
    if (last_) {
        lblResult.SetCaption("Last result:\r\n" + rpm::ResultText(*last_));
    }
    cmdStart.on_click = [this] { Start(); };
    cmdCancel.on_click = [this] { ports_.tester.Cancel(); };
    cmdCopy.on_click = [this] { Copy(); };
    cmdClose.on_click = [this] { CloseWindow(); };
    SetRunning(false);
}

void RpmView::Layout() {
    fldServer.label.SetBounds({120, 170, 1200, 300});
    fldServer.box.SetBounds({1320, 120, 4080, 330});
    cmdStart.SetBounds({5580, 100, 1500, 370});
    cmdCancel.SetBounds({5580, 560, 1500, 370});
    lblStatus.SetBounds({120, 600, 5300, 500});
    lblResult.SetBounds({120, 1560, 6960, 1400});
    cmdCopy.SetBounds({4080, 3060, 1500, 370});
    cmdClose.SetBounds({5700, 3060, 1380, 370});
}

void RpmView::SetRunning(bool running) {
    running_ = running;
    cmdStart.SetEnabled(!running);
    fldServer.box.SetEnabled(!running);
    cmdCancel.SetEnabled(running);
    cmdCopy.SetEnabled(!running && last_.has_value());
}

void RpmView::Start() {
    rpm::ServerChoice server = rpm::ChooseServer(fldServer.box.text());
    if (!server.problem.empty()) {
        ports_.messages.Show(
            {server.problem, kCaption, ui::MessageButtons::Ok, ui::MessageIcon::Exclamation});
        return;
    }
    RpmRequest request{server, {}};
    uint32_t cap_mb = ports_.options.Read(kRpmCapOption).value_or(kRpmDefaultCapMb);
    request.plan.cap_bytes = static_cast<int64_t>(cap_mb > 0 ? cap_mb : kRpmDefaultCapMb) * 1000000;
    if (!Consents(fldServer.box.text(), request.plan.cap_bytes)) {
        lblStatus.SetCaption("Not started.");
        return;
    }
    ports_.options.WriteText(kRpmServerOption, fldServer.box.text());
    SetRunning(true);
    lblStatus.SetCaption("Starting...");
    ports_.window.ShowProgress(0);
    ports_.tester.Start(request);
}

// The amount first; a connection that may be charged by the byte is asked about again.
bool RpmView::Consents(const std::string& server, int64_t cap_bytes) {
    ui::Message ask{
        "The test loads your connection with downloads, then uploads, for up to "
        "about half a minute, and may move up to " +
            MbText(cap_bytes) + " each way (" + MbText(2 * cap_bytes) + " in all) to and from " +
            server + ".\r\n\r\nStart the test?",
        kCaption, ui::MessageButtons::YesNo, ui::MessageIcon::Question, 2};
    if (ports_.messages.Show(ask) != ui::MessageAnswer::Yes) {
        return false;
    }
    NetworkCost cost = ports_.window.Cost();
    if (cost == NetworkCost::Unmetered) {
        return true;
    }
    ask.text = cost == NetworkCost::Metered
                   ? "Windows reports that this connection is metered: the data the test moves "
                     "may cost money or count against a data plan.\r\n\r\nStart anyway?"
                   : "Windows cannot tell whether this connection is metered (cost unknown): "
                     "the data the test moves may cost money or count against a data "
                     "plan.\r\n\r\nStart anyway?";
    ask.icon = ui::MessageIcon::Exclamation;
    return ports_.messages.Show(ask) == ui::MessageAnswer::Yes;
}

void RpmView::Progress(int percent, const std::string& text) {
    ports_.window.ShowProgress(percent);
    lblStatus.SetCaption(text);
}

void RpmView::Finished(const RpmOutcome& outcome) {
    if (outcome.result) {
        last_ = outcome.result;
        lblResult.SetCaption(rpm::ResultText(*last_));
        lblStatus.SetCaption(outcome.problem.empty() ? "Done." : outcome.problem);
        ports_.window.ShowProgress(100);
    } else {
        lblStatus.SetCaption(outcome.problem);
        ports_.window.ShowProgress(0);
    }
    SetRunning(false);
}

void RpmView::Copy() {
    if (last_) {
        ports_.window.CopyText(json::Write(rpm::ResultJson(*last_)));
    }
}

// A test under way goes with the window.
void RpmView::CloseWindow() {
    if (running_) {
        ports_.tester.Cancel();
    }
    ports_.window.Close();
}

}  // namespace zv::monitor
