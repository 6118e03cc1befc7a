#include "monitor/rpm_run.h"

#include <algorithm>

namespace zv::monitor::rpm {
namespace {

bool IsLoad(Phase phase) {
    return phase == Phase::Download || phase == Phase::Upload;
}

// The trimmed means of the answered probes that `counts` picks.
template <typename Counts>
void TrimmedMeans(const std::vector<ProbeSample>& samples, const Counts& counts, Latencies& ms,
                  int& answered, int& failed) {
    std::vector<double> connects;
    std::vector<double> handshakes;
    std::vector<double> requests;
    for (const ProbeSample& sample : samples) {
        if (!counts(sample)) {
            continue;
        }
        if (!sample.answered) {
            ++failed;
            continue;
        }
        connects.push_back(sample.ms.connect_ms);
        handshakes.push_back(sample.ms.tls_ms);
        requests.push_back(sample.ms.request_ms);
    }
    answered = static_cast<int>(connects.size());
    ms = {TrimmedMean(connects), TrimmedMean(handshakes), TrimmedMean(requests)};
}

}  // namespace

Orders TestRun::Step(int64_t now_ms, int64_t phase_bytes) {
    if (!started_) {
        started_ = true;
        Begin(Phase::Idle, now_ms);
    }
    Orders orders;
    if (phase_ == Phase::Idle) {
        StepIdle(now_ms, orders);
    } else if (IsLoad(phase_)) {
        StepLoad(now_ms, phase_bytes, orders);
    }
    orders.phase = phase_;
    orders.load_connections = IsLoad(phase_) ? Current().connections : 0;
    orders.percent = Percent(now_ms);
    return orders;
}

void TestRun::Begin(Phase phase, int64_t now_ms) {
    phase_ = phase;
    phase_start_ms_ = now_ms;
    next_interval_ms_ = now_ms + plan_.interval_ms;
    next_probe_ms_ = now_ms;
    interval_start_bytes_ = 0;
    probes_started_ = 0;
    if (IsLoad(phase)) {
        Current().connections = 1;
    }
}

// One probe at a time, so that the probes do not load the link themselves.
void TestRun::StepIdle(int64_t now_ms, Orders& orders) {
    int finished =
        static_cast<int>(std::count_if(samples_.begin(), samples_.end(), [](const ProbeSample& s) {
            return s.phase == Phase::Idle;
        }));
    if (finished >= plan_.idle_probes || now_ms - phase_start_ms_ >= plan_.idle_limit_ms) {
        bool answered = std::any_of(samples_.begin(), samples_.end(), [](const ProbeSample& s) {
            return s.phase == Phase::Idle && s.answered;
        });
        unreachable_ = !answered;
        if (answered) {
            Begin(Phase::Download, now_ms);
        } else {
            phase_ = Phase::Done;
        }
        return;
    }
    if (in_flight_ == 0 && probes_started_ < plan_.idle_probes) {
        orders.start_probes = StartProbes(now_ms, 1);
    }
}

void TestRun::StepLoad(int64_t now_ms, int64_t phase_bytes, Orders& orders) {
    Load& load = Current();
    load.bytes = phase_bytes;
    load.duration_ms = now_ms - phase_start_ms_;
    if (now_ms >= next_interval_ms_) {
        CloseInterval(load, phase_bytes, now_ms);
    }
    load.capped = phase_bytes >= plan_.cap_bytes;
    if (load.stable || load.capped || now_ms - phase_start_ms_ >= plan_.phase_limit_ms) {
        if (phase_ == Phase::Download) {
            Begin(Phase::Upload, now_ms);
        } else {
            phase_ = Phase::Done;
        }
        return;
    }
    orders.start_probes = StartProbes(now_ms, plan_.max_probes_in_flight);
}

// As the draft runs a load: each interval one more connection joins (up to the plan's most),
// whatever the figures, since more flows keep a drop-tail queue fuller; the goodput's
// stability, once reached, is declared for good; only then do the round trips count, and
// the phase is stable when the round trips of kAverageSpan intervals since meet the rule too.
void TestRun::CloseInterval(Load& load, int64_t phase_bytes, int64_t now_ms) {
    int64_t elapsed = now_ms - (next_interval_ms_ - plan_.interval_ms);
    load.goodput.Add(static_cast<double>(phase_bytes - interval_start_bytes_) * 8000.0 /
                     static_cast<double>(std::max<int64_t>(elapsed, 1)));
    interval_start_bytes_ = phase_bytes;
    ++load.intervals;
    next_interval_ms_ = now_ms + plan_.interval_ms;
    load.saturated = load.saturated || load.goodput.Stable();
    if (!load.interval_latencies.empty()) {
        load.latency.Add(TrimmedMean(load.interval_latencies));
        load.interval_latencies.clear();
        load.saturated_latencies += load.saturated ? 1 : 0;
    }
    load.stable = load.saturated && load.latency.Stable() &&
                  load.saturated_latencies >= static_cast<int>(Stability::kAverageSpan);
    load.connections = std::min(load.connections + 1, plan_.max_connections);
}

int TestRun::StartProbes(int64_t now_ms, int limit) {
    if (in_flight_ >= limit || now_ms < next_probe_ms_) {
        return 0;
    }
    ++in_flight_;
    ++probes_started_;
    next_probe_ms_ = now_ms + plan_.probe_spacing_ms;
    return 1;
}

void TestRun::ProbeFinished(const ProbeSample& sample) {
    in_flight_ = std::max(in_flight_ - 1, 0);
    samples_.push_back(sample);
    if (IsLoad(sample.phase)) {
        const Load& load = sample.phase == Phase::Upload ? up_ : down_;
        samples_.back().interval = load.intervals;
    }
    if (sample.answered && IsLoad(sample.phase) && sample.phase == phase_) {
        Current().interval_latencies.push_back(sample.ms.RoundTripMs(plan_.tls));
    }
}

bool TestRun::Counts(const ProbeSample& sample) const {
    const Load& load = sample.phase == Phase::Upload ? up_ : down_;
    return sample.interval + static_cast<int>(Stability::kAverageSpan) >= load.intervals;
}

// Idle takes the first tenth of the bar, each direction of load half of the rest.
int TestRun::Percent(int64_t now_ms) const {
    if (phase_ == Phase::Done) {
        return 100;
    }
    if (phase_ == Phase::Idle) {
        return static_cast<int>(
            std::min<int64_t>(10 * probes_started_ / std::max(plan_.idle_probes, 1), 10));
    }
    int64_t share = std::min<int64_t>(
        45 * (now_ms - phase_start_ms_) / std::max<int64_t>(plan_.phase_limit_ms, 1), 45);
    return static_cast<int>((phase_ == Phase::Download ? 10 : 55) + share);
}

DirectionFigures TestRun::Direction(const Load& load, Phase phase) const {
    DirectionFigures figures;
    figures.goodput_bps = load.goodput.Average();
    if (figures.goodput_bps == 0 && load.duration_ms > 0) {
        figures.goodput_bps =
            static_cast<double>(load.bytes) * 8000.0 / static_cast<double>(load.duration_ms);
    }
    figures.connections = load.connections;
    figures.stable = load.stable;
    figures.capped = load.capped;
    figures.bytes = load.bytes;
    auto counts = [this, phase](const ProbeSample& s) { return s.phase == phase && Counts(s); };
    TrimmedMeans(samples_, counts, figures.ms, figures.samples, figures.failed);
    return figures;
}

RunFigures TestRun::Figures() const {
    RunFigures figures;
    figures.tls = plan_.tls;
    auto idle = [](const ProbeSample& s) { return s.phase == Phase::Idle; };
    TrimmedMeans(samples_, idle, figures.idle, figures.idle_samples, figures.idle_failed);
    figures.down = Direction(down_, Phase::Download);
    figures.up = Direction(up_, Phase::Upload);
    int answered = 0;
    int failed = 0;
    auto loaded = [this](const ProbeSample& s) { return IsLoad(s.phase) && Counts(s); };
    TrimmedMeans(samples_, loaded, figures.loaded, answered, failed);
    return figures;
}

}  // namespace zv::monitor::rpm
