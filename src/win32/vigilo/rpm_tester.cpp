#include "win32/vigilo/rpm_tester.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "monitor/clock_texts.h"
#include "win32/platform/critical_section.h"
#include "win32/platform/kernel_handle.h"
#include "win32/platform/win32_file_system.h"
#include "win32/platform/worker_thread.h"
#include "win32/vigilo/link_ports_win.h"
#include "win32/vigilo/rpm_connections.h"

namespace zv::win32 {

using monitor::RpmOutcome;
using monitor::rpm::Phase;
using monitor::rpm::TestResult;

// What the controller thread and the window's side share.
struct RpmTester::Channel {
    RpmShared shared;
    KernelHandle wake;  // set by Cancel
    HWND window = nullptr;
    CriticalSection lock;
    Report report;                   // under lock
    std::optional<TestResult> last;  // under lock

    void Tell(UINT message, int percent, const std::string& text,
              std::optional<RpmOutcome> outcome = std::nullopt) {
        {
            Hold hold(lock);
            report.percent = percent;
            report.text = text;
            if (outcome) {
                report.outcome = std::move(outcome);
            }
        }
        PostMessageA(window, message, 0, 0);
    }
};

namespace {

constexpr DWORD kStepMs = 50;
constexpr DWORD kThreadsWaitMs = 900;

std::string PhaseText(Phase phase, int connections, double bytes, double seconds) {
    if (phase == Phase::Idle) {
        return "Measuring the idle latency...";
    }
    char text[120];
    std::snprintf(text, sizeof text, "%s: %d connection%s, %.1f Mbit/s so far...",
                  phase == Phase::Download ? "Loading the link with downloads"
                                           : "Loading the link with uploads",
                  connections, connections == 1 ? "" : "s",
                  seconds > 0 ? bytes * 8 / seconds / 1e6 : 0.0);
    return text;
}

// The run itself, on the controller thread: steps the core, keeps the threads it orders.
class Controller {
  public:
    Controller(std::shared_ptr<RpmTester::Channel> channel, monitor::rpm::TestUrls urls,
               monitor::rpm::RunPlan plan)
        : channel_(std::move(channel)),
          shared_(channel_->shared),
          urls_(std::move(urls)),
          run_(plan),
          plan_(plan) {}

    // Until the run is done or cancelled; then every connection is closed and the threads
    // are given a bounded time to end.
    void Drive() {
        DWORD start = GetTickCount();
        Phase phase = Phase::Idle;
        int loads = 0;
        DWORD phase_start = start;
        while (!shared_.cancelled.load()) {
            TakeProbes();
            monitor::rpm::Orders orders = run_.Step(GetTickCount() - start, shared_.bytes.load());
            if (orders.phase != phase) {
                ++shared_.generation;
                shared_.CloseAll(true);
                shared_.bytes = 0;
                loads = 0;
                phase = orders.phase;
                phase_start = GetTickCount();
            }
            if (phase == Phase::Done) {
                break;
            }
            for (; loads < orders.load_connections; ++loads) {
                Spawn(phase, true);
            }
            for (int i = 0; i < orders.start_probes; ++i) {
                Spawn(phase, false);
            }
            channel_->Tell(kRpmProgressMessage, orders.percent,
                           PhaseText(phase, loads, static_cast<double>(shared_.bytes.load()),
                                     (GetTickCount() - phase_start) / 1000.0));
            WaitForSingleObject(channel_->wake.get(), kStepMs);
        }
        shared_.CloseAll(false);
        DWORD deadline = GetTickCount() + kThreadsWaitMs;
        for (HANDLE& thread : threads_) {
            DWORD now = GetTickCount();
            FinishWorker(thread, now < deadline ? deadline - now : 0);
        }
        TakeProbes();
    }

    const monitor::rpm::TestRun& Run() const { return run_; }

  private:
    void TakeProbes() {
        std::vector<monitor::rpm::ProbeSample> finished;
        {
            Hold hold(shared_.lock);
            finished.swap(shared_.finished);
        }
        for (const auto& sample : finished) {
            run_.ProbeFinished(sample);
        }
    }

    // Each thread holds the channel, so that it outlives the controller if it must.
    void Spawn(Phase phase, bool load) {
        int generation = shared_.generation.load();
        auto channel = channel_;
        std::function<void()> work;
        if (!load) {
            work = [channel, url = urls_.small, phase] { RunProbe(channel->shared, url, phase); };
        } else if (phase == Phase::Download) {
            work = [channel, url = urls_.large, generation] {
                RunDownload(channel->shared, url, generation);
            };
        } else {
            work = [channel, url = urls_.upload, generation, cap = plan_.cap_bytes] {
                RunUpload(channel->shared, url, generation, cap);
            };
        }
        HANDLE thread = StartWorker(std::move(work));
        if (thread != nullptr) {
            threads_.push_back(thread);
        }
    }

    std::shared_ptr<RpmTester::Channel> channel_;
    RpmShared& shared_;
    monitor::rpm::TestUrls urls_;
    monitor::rpm::TestRun run_;
    monitor::rpm::RunPlan plan_;
    std::vector<HANDLE> threads_;
};

std::string UrlText(const monitor::rpm::Url& url) {
    return std::string(url.tls ? "https://" : "http://") + url.Authority() + url.path;
}

// Read, the new one added, the newest kept, written in one step.
bool SaveResult(const std::string& path, const TestResult& result) {
    Win32LogFiles().CreateFolder(path.substr(0, path.rfind('\\')));
    Win32FileSystem files(PathText::Utf8);
    std::vector<TestResult> results = monitor::rpm::ReadResults(files.ReadFile(path).value_or(""));
    results.push_back(result);
    return files.WriteFileAtomic(path, monitor::rpm::WriteResults(results));
}

RpmOutcome Measure(const std::shared_ptr<RpmTester::Channel>& channel,
                   const monitor::RpmRequest& request, const std::string& results_path) {
    RpmShared& shared = channel->shared;
    std::optional<monitor::rpm::TestUrls> urls = request.server.urls;
    if (request.server.config) {
        channel->Tell(kRpmProgressMessage, 0, "Reading the server's configuration...");
        std::optional<std::string> text = FetchText(shared, *request.server.config);
        monitor::rpm::ConfigAnswer config = monitor::rpm::ReadConfig(text.value_or(""));
        urls = config.urls;
        if (!urls) {
            Hold hold(shared.lock);
            return {std::nullopt, shared.cancelled ? "Cancelled."
                                  : text           ? config.problem
                                                   : shared.first_error};
        }
    }
    monitor::rpm::RunPlan plan = request.plan;
    plan.tls = urls->large.tls;
    Controller controller(channel, *urls, plan);
    controller.Drive();
    if (shared.cancelled.load()) {
        return {std::nullopt,
                "Cancelled: the test was stopped before it ended; nothing was saved."};
    }
    if (controller.Run().Unreachable()) {
        Hold hold(shared.lock);
        return {std::nullopt, "The test server did not answer: " + shared.first_error};
    }
    TestResult result;
    result.when = monitor::IsoTime(Win32Clock().Now().wall);
    result.endpoint = UrlText(urls->large);
    result.transport = urls->large.tls ? "TLS" : "TCP";
    result.ip_family = shared.ipv6.load() ? "IPv6" : "IPv4";
    result.figures = controller.Run().Figures();
    bool capped = result.figures.down.capped || result.figures.up.capped;
    result.outcome = capped ? "partly done: the data cap ended the load" : "done";
    bool saved = !results_path.empty() && SaveResult(results_path, result);
    {
        Hold hold(channel->lock);
        channel->last = result;
    }
    return {result,
            saved ? "" : "Done, but the result could not be saved in " + results_path + "."};
}

}  // namespace

std::string RpmResultsPath() {
    std::string app_data = Win32LogFiles().AppDataFolder();
    return app_data.empty() ? "" : app_data + "\\Zorvane\\" + monitor::rpm::kResultsFile;
}

RpmTester::RpmTester(std::string results_path)
    : results_path_(std::move(results_path)), channel_(std::make_shared<Channel>()) {}

// The test under way is cancelled; its threads hold what they use, so one that does not end
// in time touches nothing of this object.
RpmTester::~RpmTester() {
    Cancel();
    FinishWorker(thread_, 1500);
    FinishWorker(reader_, 500);
}

// The stored results are read off the window's thread; the window hears when they are in.
void RpmTester::ReportTo(HWND window) {
    channel_->window = window;
    reader_ = StartWorker([channel = channel_, path = results_path_] {
        std::vector<TestResult> stored =
            monitor::rpm::ReadResults(Win32FileSystem(PathText::Utf8).ReadFile(path).value_or(""));
        if (!stored.empty()) {
            Hold hold(channel->lock);
            channel->last = stored.back();
        }
        PostMessageA(channel->window, kRpmProgressMessage, 0, 0);
    });
}

void RpmTester::Start(const monitor::RpmRequest& request) {
    if (Running()) {
        return;
    }
    FinishWorker(thread_, 0);
    auto channel = std::make_shared<Channel>();
    channel->wake.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    channel->window = channel_->window;
    channel->last = LastResult();
    channel_ = channel;
    thread_ = StartWorker([channel, request, path = results_path_] {
        RpmOutcome outcome = Measure(channel, request, path);
        channel->Tell(kRpmDoneMessage, outcome.result ? 100 : 0, "", std::move(outcome));
    });
}

void RpmTester::Cancel() {
    channel_->shared.cancelled = true;
    channel_->shared.CloseAll(false);
    SetEvent(channel_->wake.get());
}

RpmTester::Report RpmTester::TakeReport() {
    Hold hold(channel_->lock);
    Report report = channel_->report;
    channel_->report.outcome.reset();
    return report;
}

std::optional<TestResult> RpmTester::LastResult() const {
    Hold hold(channel_->lock);
    return channel_->last;
}

}  // namespace zv::win32
