// A responsiveness test's result as others can compare it: the figures the run measured
// with the method, the server and the way it was reached, kept per user as JSON (the
// newest kResultsKept), shown as text in the test window and as one line in the
// Connection History window.
#pragma once

#include <string>
#include <vector>

#include "monitor/json_text.h"
#include "monitor/rpm_run.h"

namespace zv::monitor::rpm {

inline constexpr std::size_t kResultsKept = 20;
inline constexpr char kResultsFile[] = "responsiveness.json";

struct TestResult {
    std::string method = kMethod;
    std::string when;       // local time, as IsoTime writes it
    std::string endpoint;   // the large download's URL
    std::string transport;  // "TCP" or "TLS"
    std::string ip_family;  // "IPv4" or "IPv6"
    std::string outcome;    // "done", or "partly done: ..." with the reason
    RunFigures figures;
    // "HTTP/1.1 over TCP": the draft's variant, named in the result.
    std::string Variant() const { return "HTTP/1.1 over " + transport; }
};

json::Value ResultJson(const TestResult& result);
// A stored result; nothing when a figure is missing or of the wrong kind.
std::optional<TestResult> ResultFromJson(const json::Value& value);

// The store: {"results": [...]}, oldest first. A file that is no such JSON reads as no
// results; an entry that is no result is left out.
std::vector<TestResult> ReadResults(const std::string& file_text);
// The newest kResultsKept of `results`, as the store writes them.
std::string WriteResults(const std::vector<TestResult>& results);

// The window's text, a few lines: the class and RPM, the latencies, the goodput each way,
// the confidence and how it was measured.
std::string ResultText(const TestResult& result);
// "Responsiveness: Poor (142 RPM), +405 ms when busy, 2026-12-08 16:40"
std::string ResultLine(const TestResult& result);

}  // namespace zv::monitor::rpm
