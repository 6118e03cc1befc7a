#include "monitor/rpm_result.h"

#include <cmath>
#include <cstdio>

#include "common/named_member.h"

namespace zv::monitor::rpm {
namespace {

using json::Value;

Value Number(double number) {
    Value value;
    value.kind = Value::Kind::Number;
    value.number = number;
    return value;
}

Value Text(const std::string& text) {
    Value value;
    value.kind = Value::Kind::String;
    value.text = text;
    return value;
}

Value Flag(bool flag) {
    Value value;
    value.kind = Value::Kind::Bool;
    value.boolean = flag;
    return value;
}

Value Object(std::vector<std::pair<std::string, Value>> members) {
    Value value;
    value.kind = Value::Kind::Object;
    value.members = std::move(members);
    return value;
}

// Each figure of a direction, by its name in the file.
// Each round trip of a probe, by its name in the file.
using LatencyField = NamedMember<Latencies, double>;
const LatencyField kLatencyFields[] = {
    {"connect_ms", &Latencies::connect_ms},
    {"tls_ms", &Latencies::tls_ms},
    {"request_ms", &Latencies::request_ms},
};

Value LatenciesJson(const Latencies& ms, int samples, int failed) {
    Value value = Object({});
    for (const LatencyField& field : kLatencyFields) {
        value.members.emplace_back(field.name, Number(ms.*field.member));
    }
    value.members.emplace_back("samples", Number(samples));
    value.members.emplace_back("failed", Number(failed));
    return value;
}

Value DirectionJson(const DirectionFigures& figures) {
    Value value = LatenciesJson(figures.ms, figures.samples, figures.failed);
    value.members.emplace_back("goodput_bps", Number(figures.goodput_bps));
    value.members.emplace_back("connections", Number(figures.connections));
    value.members.emplace_back("bytes", Number(static_cast<double>(figures.bytes)));
    value.members.emplace_back("stable", Flag(figures.stable));
    value.members.emplace_back("capped", Flag(figures.capped));
    return value;
}

bool ReadCount(const Value& value, const char* name, int& count) {
    std::optional<double> number = value.NumberOf(name);
    if (!number || *number < 0 || *number > 1e9 || std::floor(*number) != *number) {
        return false;
    }
    count = static_cast<int>(*number);
    return true;
}

bool ReadMs(const Value& value, const char* name, double& figure) {
    std::optional<double> number = value.NumberOf(name);
    if (!number || *number < 0) {
        return false;
    }
    figure = *number;
    return true;
}

bool ReadFlag(const Value* value, bool& flag) {
    if (value == nullptr || value->kind != Value::Kind::Bool) {
        return false;
    }
    flag = value->boolean;
    return true;
}

bool ReadLatencies(const Value* value, Latencies& ms, int& samples, int& failed) {
    if (value == nullptr) {
        return false;
    }
    for (const LatencyField& field : kLatencyFields) {
        if (!ReadMs(*value, field.name, ms.*field.member)) {
            return false;
        }
    }
    return ReadCount(*value, "samples", samples) && ReadCount(*value, "failed", failed);
}

bool ReadDirection(const Value* value, DirectionFigures& figures) {
    if (!ReadLatencies(value, figures.ms, figures.samples, figures.failed) ||
        !ReadMs(*value, "goodput_bps", figures.goodput_bps)) {
        return false;
    }
    std::optional<double> bytes = value->NumberOf("bytes");
    if (!bytes || *bytes < 0 || *bytes > 1e15) {
        return false;
    }
    figures.bytes = static_cast<int64_t>(*bytes);
    return ReadCount(*value, "connections", figures.connections) &&
           ReadFlag(value->Find("stable"), figures.stable) &&
           ReadFlag(value->Find("capped"), figures.capped);
}

std::string Ms(double ms) {
    return std::to_string(std::lround(ms)) + " ms";
}

std::string Mbits(double bps) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f Mbit/s", bps / 1e6);
    return text;
}

std::string DirectionText(const char* name, const DirectionFigures& figures, bool tls) {
    return std::string(name) + ": " + Mbits(figures.goodput_bps) + " on " +
           std::to_string(figures.connections) +
           (figures.connections == 1 ? " connection" : " connections") + ", loaded latency " +
           Ms(figures.ms.RoundTripMs(tls)) + " (" + std::to_string(figures.samples) + " probes" +
           (figures.capped ? ", data cap reached" : "") + ")";
}

}  // namespace

json::Value ResultJson(const TestResult& result) {
    const RunFigures& f = result.figures;
    return Object({
        {"method", Text(result.method)},
        {"variant", Text(result.Variant())},
        {"when", Text(result.when)},
        {"endpoint", Text(result.endpoint)},
        {"transport", Text(result.transport)},
        {"ip_family", Text(result.ip_family)},
        {"outcome", Text(result.outcome)},
        {"rpm", Number(f.Rpm())},
        {"grade", Text(GradeText(GradeOf(f.Rpm())))},
        {"confidence", Text(f.Confident() ? "high" : "low")},
        {"idle_ms", Number(f.IdleMs())},
        {"loaded_ms", Number(f.LoadedMs())},
        {"added_ms", Number(f.AddedMs())},
        {"idle", LatenciesJson(f.idle, f.idle_samples, f.idle_failed)},
        {"loaded",
         LatenciesJson(f.loaded, f.down.samples + f.up.samples, f.down.failed + f.up.failed)},
        {"download", DirectionJson(f.down)},
        {"upload", DirectionJson(f.up)},
    });
}

// The raw figures are read back; what is made of them (RPM, class, the latencies) is made
// again, so that a file edited by hand cannot show a class its figures do not give.
std::optional<TestResult> ResultFromJson(const json::Value& value) {
    TestResult result;
    RunFigures& f = result.figures;
    std::string* texts[] = {&result.method,    &result.when,      &result.endpoint,
                            &result.transport, &result.ip_family, &result.outcome};
    const char* names[] = {"method", "when", "endpoint", "transport", "ip_family", "outcome"};
    for (size_t i = 0; i < std::size(names); ++i) {
        std::optional<std::string> text = value.TextOf(names[i]);
        if (!text) {
            return std::nullopt;
        }
        *texts[i] = *text;
    }
    f.tls = result.transport == "TLS";
    int loaded_samples = 0;
    int loaded_failed = 0;
    if (!ReadLatencies(value.Find("idle"), f.idle, f.idle_samples, f.idle_failed) ||
        !ReadLatencies(value.Find("loaded"), f.loaded, loaded_samples, loaded_failed) ||
        !ReadDirection(value.Find("download"), f.down) ||
        !ReadDirection(value.Find("upload"), f.up)) {
        return std::nullopt;
    }
    return result;
}

std::vector<TestResult> ReadResults(const std::string& file_text) {
    std::vector<TestResult> results;
    std::optional<Value> file = json::Parse(file_text);
    const Value* list = file ? file->Find("results") : nullptr;
    if (list == nullptr || list->kind != Value::Kind::Array) {
        return results;
    }
    for (const Value& item : list->items) {
        if (std::optional<TestResult> result = ResultFromJson(item)) {
            results.push_back(*result);
        }
    }
    return results;
}

std::string WriteResults(const std::vector<TestResult>& results) {
    Value list;
    list.kind = Value::Kind::Array;
    size_t first = results.size() > kResultsKept ? results.size() - kResultsKept : 0;
    for (size_t i = first; i < results.size(); ++i) {
        list.items.push_back(ResultJson(results[i]));
    }
    return json::Write(Object({{"results", list}})) + "\n";
}

std::string ResultText(const TestResult& result) {
    const RunFigures& f = result.figures;
    return "Responsiveness: " + std::string(GradeText(GradeOf(f.Rpm()))) + " (" +
           std::to_string(f.Rpm()) + " RPM), confidence " + (f.Confident() ? "high" : "low") +
           "\r\nIdle latency " + Ms(f.IdleMs()) + ", loaded latency " + Ms(f.LoadedMs()) +
           ", added by load " + Ms(f.AddedMs()) + "\r\n" +
           DirectionText("Download", f.down, f.tls) + "\r\n" +
           DirectionText("Upload", f.up, f.tls) + "\r\n" + result.endpoint + " (" +
           result.Variant() + ", " + result.ip_family + "), " + result.method + ", " +
           result.outcome;
}

std::string ResultLine(const TestResult& result) {
    const RunFigures& f = result.figures;
    std::string when = result.when.substr(0, 16);
    if (when.size() > 10) {
        when[10] = ' ';
    }
    return "Responsiveness: " + std::string(GradeText(GradeOf(f.Rpm()))) + " (" +
           std::to_string(f.Rpm()) + " RPM), +" + Ms(f.AddedMs()) + " when busy, " + when;
}

}  // namespace zv::monitor::rpm
