// The "Test Responsiveness" window as a controller: the server field, Start, Cancel, Copy
// and Close, the progress and the result. It never starts a test by itself: Start says how
// much data the test may move and asks, and asks again when Windows reports the connection
// metered or cannot tell. The test runs elsewhere (RpmTesterPort) and reports back.
#pragma once

#include <optional>
#include <string>

#include "monitor/monitor_options.h"
#include "monitor/rpm_result.h"
#include "monitor/rpm_server.h"
#include "ui/captioned.h"
#include "ui/field.h"
#include "ui/ports.h"
#include "ui/text_box.h"

namespace zv::monitor {

// Per-user options beside the companion's others: the server last tested, and the data
// cap in MB for each direction.
inline constexpr char kRpmServerOption[] = "ResponsivenessServer";
inline constexpr char kRpmCapOption[] = "ResponsivenessCapMB";
inline constexpr uint32_t kRpmDefaultCapMb = 250;

enum class NetworkCost { Unmetered, Metered, Unknown };

// What GetNetworkConnectivityHint reports of the cost (NL_NETWORK_CONNECTIVITY_HINT in
// netioapi.h): ConnectivityCost 0 unknown, 1 unrestricted, 2 fixed, 3 variable, and the
// data-limit and roaming flags. Only an unrestricted connection within its limits and at
// home is unmetered.
struct CostHint {
    int cost = 0;
    bool approaching_limit = false;
    bool over_limit = false;
    bool roaming = false;
};
NetworkCost CostOfHint(const CostHint& hint);

struct RpmRequest {
    rpm::ServerChoice server;
    rpm::RunPlan plan;
};

// How a test ended: its result (a whole or a partial one), or why there is none.
struct RpmOutcome {
    std::optional<rpm::TestResult> result;
    std::string problem;
};

class RpmTesterPort {
  public:
    virtual ~RpmTesterPort() = default;
    // Starts the test elsewhere; its progress and outcome come back through the view.
    virtual void Start(const RpmRequest& request) = 0;
    // Ends the test under way; its outcome still comes.
    virtual void Cancel() = 0;
};

class RpmWindowPort {
  public:
    virtual ~RpmWindowPort() = default;
    virtual void ShowProgress(int percent) = 0;
    virtual void CopyText(const std::string& text) = 0;
    // Whether Windows counts the connection's data, asked when the user presses Start.
    virtual NetworkCost Cost() = 0;
    virtual void Close() = 0;
};

inline constexpr int kRpmWidth = 7200;
inline constexpr int kRpmHeight = 3540;

struct RpmViewPorts {
    OptionsPort& options;
    ui::MessageBoxPort& messages;
    RpmTesterPort& tester;
    RpmWindowPort& window;
};

class RpmView {
  public:
    // `last` is the newest stored result, shown until a test ends.
    RpmView(const RpmViewPorts& ports, std::optional<rpm::TestResult> last);
    RpmView(const RpmView&) = delete;
    RpmView& operator=(const RpmView&) = delete;

    // Places the controls in a client area of kRpmWidth by kRpmHeight twips.
    void Layout();
    // Where the window's progress bar goes.
    static ui::Bounds ProgressBounds() { return {120, 1170, 6960, 240}; }
    void Progress(int percent, const std::string& text);
    void Finished(const RpmOutcome& outcome);
    bool Running() const { return running_; }

    ui::Window frmRpm{"Test Responsiveness"};
    ui::Field<ui::TextBox> fldServer{"Test s&erver:"};
    ui::Button cmdStart{"&Start"};
    ui::Button cmdCancel{"Cancel"};
    ui::Label lblStatus;
    ui::Label lblResult;
    ui::Button cmdCopy{"&Copy Result"};
    ui::Button cmdClose{"Close"};

  private:
    void Start();
    bool Consents(const std::string& server, int64_t cap_bytes);
    void Copy();
    void CloseWindow();
    void SetRunning(bool running);

    RpmViewPorts ports_;
    std::optional<rpm::TestResult> last_;
    bool running_ = false;
};

}  // namespace zv::monitor
