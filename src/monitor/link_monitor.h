// What the companion keeps of its probes: the history ring, the log file and the per-user
// options, and the texts made of them for the tray. The history window reads it while it
// is open and is told of each new probe.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "monitor/bloat_verdict.h"
#include "monitor/link_load.h"
#include "monitor/link_notices.h"
#include "monitor/monitor_options.h"
#include "monitor/probe_history.h"
#include "monitor/probe_log.h"
#include "monitor/reachability_probe.h"
#include "monitor/span_record.h"
#include "monitor/tip_texts.h"

namespace zv::monitor {

class ClockPort {
  public:
    virtual ~ClockPort() = default;
    virtual Moment Now() = 0;
};

// Where every probe goes to outlast the run: the lasting record's writer.
class ProbeRecordPort {
  public:
    virtual ~ProbeRecordPort() = default;
    virtual void Keep(const Probe& probe) = 0;
};

struct LinkMonitorPorts {
    ClockPort& clock;
    LogPort& log;
    OptionsPort& options;
};

class LinkMonitor {
  public:
    // The probe host is the one the options name.
    explicit LinkMonitor(const LinkMonitorPorts& ports);
    LinkMonitor(const LinkMonitor&) = delete;
    LinkMonitor& operator=(const LinkMonitor&) = delete;

    Moment Now() { return ports_.clock.Now(); }
    const std::string& Host() const { return options_.host; }

    // One probe sent at `sent`, with its round trip (a TCP connect's when `via_tcp`) or
    // nothing when it was lost, and then where the trouble lay: kept, and logged when the
    // log is on; the watcher hears of it.
    void Record(const Moment& sent, std::optional<uint32_t> round_trip_ms, bool via_tcp = false,
                Where where = Where::Unknown);
    // The same for a probe's whole outcome. A host never found is no probe of the link: it
    // is told in the tip and counts nothing.
    void Record(const Moment& sent, const ProbeOutcome& outcome);
    // An extra probe's outcome, sent while the link was busy: kept apart and logged, with no
    // notice, no outage and no figure of the regular probes of its own.
    void RecordExtra(const Moment& sent, const ProbeOutcome& outcome);
    // The newest probe, regular or extra, found the link busy.
    bool Busy() const { return load_meter_.Busy(); }

    const ProbeHistory& History() const { return history_; }
    // The regular probes of the longest span the history window shows, in brief.
    const SpanRecord& Spans() const { return spans_; }
    // The newest responsiveness test's line for the history window; empty before one.
    void SetTestLine(std::string line) { test_line_ = std::move(line); }
    const std::string& TestLine() const { return test_line_; }
    const ProbeHistory& Extras() const { return extras_; }
    // The latency when busy against idle over the day kept, up to `at_ms`.
    BloatFigures Bloat(int64_t at_ms) const;
    // The newest probe's load.
    const ProbeLoad& LoadNow() const { return load_now_; }
    // The tip, with as many figures as `limit` characters hold.
    std::string TipText(std::size_t limit = kTipLimit);
    // The history window's line of the state now.
    std::string NowText();
    // The notice the newest probe calls for: a drop or return, else a slow spell's start or
    // end; empty when there is none or notices are off.
    LinkNotice Notice() const;
    // The newest probe was a first loss after answers: a second probe, sent once the
    // first has had its time, decides whether the link dropped.
    bool AwaitsConfirmation() const { return !unfound_ && notices_.AwaitsConfirmation(); }

    MonitorOptions& Options() { return options_; }
    // Stores the options that changed since they were read or last stored.
    void SaveOptions() {
        SaveMonitorOptions(ports_.options, options_, stored_);
        stored_ = options_;
    }
    // Takes the probe host the user gave (in its ASCII form); else says why it cannot be
    // probed, and the options keep theirs.
    std::string TakeHost(const std::string& text);
    // The stored probe host refused at start-up, as the user is told it; empty when none was.
    const std::string& RefusedHost() const { return refused_host_; }
    const LogPort& Log() const { return ports_.log; }

    // From now on every probe recorded also goes to `record` (nothing: to none).
    void KeepIn(ProbeRecordPort* record) { record_ = record; }
    // The probes of the runs before, oldest first, on this run's count: they go before the
    // probes of this run, and, when there are none yet, through the notices quietly, so that
    // those go on where they stood. `earlier`: the regular probes of the longest span in
    // brief, which go before this run's in Spans().
    void Restore(const std::vector<Probe>& probes, const std::vector<SpanSample>& earlier = {});

    // The one watcher (the open history window), or an empty function when it closed.
    void SetWatcher(std::function<void()> watcher) { watcher_ = std::move(watcher); }

  private:
    // Whether the last 10 minutes passed a slow limit, with what passed it; nothing to
    // judge by after a loss or with both limits off. The loss limit counts the lost probes
    // outside outages, among the probes outside them.
    std::optional<bool> Slow(const HistoryFigures& recent, std::string& detail) const;
    // The notice of a worse grade of the latency when busy, if one is due at `at_ms`: the
    // first verdict of bufferbloat, or a grade worse than the one the user last knew of (a
    // better grade is taken as known at once); at most one an hour.
    LinkNotice BloatNotice(int64_t at_ms);
    void Tell();

    LinkMonitorPorts ports_;
    ProbeHistory history_;
    SpanRecord spans_;
    ProbeHistory extras_{kExtraCapacity};
    LoadMeter load_meter_;
    ProbeLoad load_now_;
    std::optional<Grade> known_grade_;
    std::optional<int64_t> bloat_told_ms_;
    LinkNotices notices_;
    LinkNotice notice_;
    MonitorOptions options_;
    MonitorOptions stored_;
    std::string refused_host_;
    bool unfound_ = false;  // the newest probe found no address for the host
    std::function<void()> watcher_;
    std::string test_line_;
    ProbeRecordPort* record_ = nullptr;
};

}  // namespace zv::monitor
