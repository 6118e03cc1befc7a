// Helpers shared by the benchmark programs: timing, starting programs, finding windows.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace zv::bench {

double NowMs();

// Starts the program with the given arguments; returns its process information.
PROCESS_INFORMATION Start(const std::string& path, const std::string& arguments);

// Milliseconds from the start of the call until a visible top-level window of the process
// exists, or -1 after the limit; that window goes to `window` when one is asked for.
double WaitForVisibleWindow(DWORD process_id, double limit_ms, HWND* window = nullptr);

// Ends the process and closes its handles.
void Stop(PROCESS_INFORMATION& process);

// The median of the values.
double Median(std::vector<double> values);

// The install folder of the programs under test (%ZV_APP_DIR%).
std::string AppDir();

// Makes the subkeys {BENCH-0000} to {BENCH-<count - 1>} of an HKEY_LOCAL_MACHINE key, as
// many interfaces; those that exist stay.
void MakeInterfaceKeys(const std::string& parent, int count);

// Calls `visit` with the name of each subkey of an HKEY_LOCAL_MACHINE key, enumerated as a
// programmer would by hand.
void ForEachSubkey(const std::string& parent, const std::function<void(const std::string&)>& visit);

struct Medians {
    double baseline_ms;
    double ours_ms;
};

// Runs both once, then each `runs` times interleaved, so that a busy moment of the machine
// falls on both alike; the median time of each.
template <typename Baseline, typename Ours>
Medians TimeInterleaved(Baseline baseline, Ours ours, int runs = 31) {
    auto time_ms = [](auto run) {
        double start = NowMs();
        run();
        return NowMs() - start;
    };
    baseline();
    ours();
    std::vector<double> baseline_times, our_times;
    for (int run = 0; run < runs; ++run) {
        baseline_times.push_back(time_ms(baseline));
        our_times.push_back(time_ms(ours));
    }
    return {Median(baseline_times), Median(our_times)};
}

// Prints the title; then for 1, 10 and 100 interfaces under an HKEY_LOCAL_MACHINE key (each
// count adds to the keys of the one before), times `baseline` against `ours` and hands the
// count and the medians to `report`.
template <typename Baseline, typename Ours, typename Report>
void TimeForInterfaceCounts(const char* title, const std::string& parent, Baseline baseline,
                            Ours ours, Report report) {
    std::printf("%s\n", title);
    for (int interfaces : {1, 10, 100}) {
        MakeInterfaceKeys(parent, interfaces);
        report(interfaces, TimeInterleaved(baseline, ours));
    }
}

}  // namespace zv::bench
