// The responsiveness test on Windows: a controller thread steps the core's run every 50 ms,
// opens and closes the load connections and starts the probes it orders, each on a thread
// of its own, then saves the result. Progress and outcome are posted to a window. Cancel
// closes every connection at once and wakes the controller, which gives the threads under
// a second to end: a test stops within a second and leaves no connection open.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "monitor/rpm_view.h"

namespace zv::win32 {

inline constexpr UINT kRpmProgressMessage = WM_APP + 40;
inline constexpr UINT kRpmDoneMessage = WM_APP + 41;

// %APPDATA%\Zorvane\responsiveness.json; empty when there is no application-data folder.
std::string RpmResultsPath();

class RpmTester : public monitor::RpmTesterPort {
  public:
    // `results_path`: the store (%APPDATA%\Zorvane\responsiveness.json); empty: not saved.
    explicit RpmTester(std::string results_path);
    ~RpmTester() override;
    RpmTester(const RpmTester&) = delete;
    RpmTester& operator=(const RpmTester&) = delete;

    // The window the progress and outcome go to; the stored results are read then.
    void ReportTo(HWND window);
    void Start(const monitor::RpmRequest& request) override;
    void Cancel() override;
    bool Running() const {
        return thread_ != nullptr && WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT;
    }

    struct Report {
        int percent = 0;
        std::string text;
        std::optional<monitor::RpmOutcome> outcome;  // once the test has ended
    };
    // The latest progress, and the outcome once (on kRpmDoneMessage).
    Report TakeReport();
    // The newest stored result, read from the store (small; read on the caller's thread).
    std::optional<monitor::rpm::TestResult> LastResult() const;

    struct Channel;

  private:
    std::string results_path_;
    std::shared_ptr<Channel> channel_;
    HANDLE thread_ = nullptr;
    HANDLE reader_ = nullptr;
};

}  // namespace zv::win32
