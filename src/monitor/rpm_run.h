// One responsiveness test as the draft runs it, without a clock or a network of its own:
// the driver (a worker thread in the real program, a table in the tests) calls Step with
// the time and the bytes the load has moved, does what the orders say (open or close load
// connections, start latency probes on new connections) and hands back each probe's round
// trips. Phases: idle latency, then downloads, then uploads, each load phase ending when
// its goodput, then its round trips, are stable, at its time limit or at the data cap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/rpm_method.h"

namespace zv::monitor::rpm {

enum class Phase { Idle, Download, Upload, Done };

struct RunPlan {
    int idle_probes = 10;
    int64_t idle_limit_ms = 10000;
    // The draft allows 20 s a direction; a shorter limit keeps a test on a quiet link short.
    int64_t phase_limit_ms = 12000;
    int64_t interval_ms = 1000;
    int max_connections = 16;
    int64_t probe_spacing_ms = 250;  // a new foreign probe at most this often
    int max_probes_in_flight = 8;
    bool tls = false;                         // the URLs are https
    int64_t cap_bytes = 250LL * 1000 * 1000;  // for each direction
};

struct Orders {
    Phase phase = Phase::Idle;
    int load_connections = 0;  // how many of the phase's direction should be open now
    int start_probes = 0;      // new foreign probes to start now, each reporting this phase
    int percent = 0;           // of the whole test
};

// The round trips of a foreign probe (the TCP handshake, the TLS handshake over an https
// URL, then a small GET on the new connection), or the trimmed means of a set of them.
struct Latencies {
    double connect_ms = 0;
    double tls_ms = 0;
    double request_ms = 0;
    // As the draft weighs a foreign probe's parts, with no self probes (HTTP/1.1 cannot send
    // on a busy connection): the mean of the handshakes' and the request's round trips.
    double RoundTripMs(bool tls) const {
        return tls ? (connect_ms + tls_ms + request_ms) / 3 : (connect_ms + request_ms) / 2;
    }
};

// Of a load phase, only the probes that ended in its last Stability::kAverageSpan intervals
// count, as the draft takes them: when the phase ends stable, its goodput was stable at the
// first of them, so that the probes of the ramp, before the queue filled, do not.
struct ProbeSample {
    Phase phase = Phase::Idle;
    bool answered = false;
    Latencies ms;
    int interval = 0;  // of its load phase, counted from 0; set by the run
};

struct DirectionFigures {
    double goodput_bps = 0;  // the stable (or last) moving average, bits per second
    int connections = 0;
    bool stable = false;  // both goodput and round trips met the stability rule
    bool capped = false;  // the data cap ended it
    int64_t bytes = 0;
    Latencies ms;  // trimmed means of the answered probes
    int samples = 0;
    int failed = 0;
};

struct RunFigures {
    bool tls = false;
    Latencies idle;
    int idle_samples = 0;
    int idle_failed = 0;
    DirectionFigures down;
    DirectionFigures up;
    Latencies loaded;  // over the probes that count of both loads
    double IdleMs() const { return idle.RoundTripMs(tls); }
    double LoadedMs() const { return loaded.RoundTripMs(tls); }
    double AddedMs() const { return LoadedMs() > IdleMs() ? LoadedMs() - IdleMs() : 0; }
    int Rpm() const { return RoundTripsPerMinute(LoadedMs()); }
    bool Confident() const { return down.stable && up.stable; }
};

class TestRun {
  public:
    explicit TestRun(const RunPlan& plan) : plan_(plan) {}

    // What to do at `now_ms` (any forward-only count), given the bytes the current phase's
    // load connections have moved so far (the driver counts from zero at each phase).
    Orders Step(int64_t now_ms, int64_t phase_bytes);
    void ProbeFinished(const ProbeSample& sample);
    Phase CurrentPhase() const { return phase_; }
    // The idle phase ended with no probe answered: the server cannot be reached.
    bool Unreachable() const { return unreachable_; }
    RunFigures Figures() const;

  private:
    struct Load {
        Stability goodput;
        Stability latency;
        std::vector<double> interval_latencies;
        int connections = 0;
        int intervals = 0;
        bool saturated = false;       // the goodput was stable once
        int saturated_latencies = 0;  // round trip figures since

        int64_t bytes = 0;
        int64_t duration_ms = 0;
        bool stable = false;
        bool capped = false;
    };
    void Begin(Phase phase, int64_t now_ms);
    void StepIdle(int64_t now_ms, Orders& orders);
    void StepLoad(int64_t now_ms, int64_t phase_bytes, Orders& orders);
    void CloseInterval(Load& load, int64_t phase_bytes, int64_t now_ms);
    int StartProbes(int64_t now_ms, int limit);
    int Percent(int64_t now_ms) const;
    Load& Current() { return phase_ == Phase::Upload ? up_ : down_; }
    DirectionFigures Direction(const Load& load, Phase phase) const;
    // Whether a probe's round trips count (see ProbeSample).
    bool Counts(const ProbeSample& sample) const;

    RunPlan plan_;
    Phase phase_ = Phase::Idle;
    bool started_ = false;
    bool unreachable_ = false;
    int64_t phase_start_ms_ = 0;
    int64_t next_interval_ms_ = 0;
    int64_t next_probe_ms_ = 0;
    int64_t interval_start_bytes_ = 0;
    int probes_started_ = 0;
    int in_flight_ = 0;
    Load down_;
    Load up_;
    std::vector<ProbeSample> samples_;
};

}  // namespace zv::monitor::rpm
