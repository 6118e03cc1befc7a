// In-memory stand-ins for the companion's record keeping: clocks that follow the fake
// timer clock (the wall clock can be set apart), a log folder of files by path, and the
// per-user options.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "monitor/link_load.h"
#include "monitor/link_monitor.h"

namespace zv::testing {

// 2025-03-01 12:00:00 UTC, shown one hour ahead (UTC+01:00).
constexpr int64_t kClockStartMs = 1740830400000;
constexpr int kClockOffsetMin = 60;

// The forward-only count reads as the wall clock would, had nobody set it.
class FollowingWallClock : public monitor::ClockPort {
  public:
    explicit FollowingWallClock(const FakeClock& clock) : clock_(clock) {}
    monitor::Moment Now() override {
        int64_t ticks = kClockStartMs + clock_.now();
        return {{ticks + wall_set_ms, kClockOffsetMin}, ticks};
    }
    int64_t wall_set_ms = 0;  // how far the user set the wall clock forward

  private:
    const FakeClock& clock_;
};

class MemoryLogFiles : public monitor::LogFilePort {
  public:
    std::string app_data = "C:\\Users\\u\\AppData";
    std::set<std::string> folders;
    std::map<std::string, std::string> files;
    bool folders_fail = false;
    bool appends_fail = false;
    bool replaces_fail = false;
    std::vector<std::string> calls;  // "lock", "tail", "replace", "append", "unlock"

    std::string AppDataFolder() override { return app_data; }
    bool CreateFolder(const std::string& path) override {
        if (!folders_fail) {
            folders.insert(path);
        }
        return !folders_fail;
    }
    std::optional<monitor::FileTail> Tail(const std::string& path) override {
        calls.push_back("tail");
        auto it = files.find(path);
        if (it == files.end()) {
            return std::nullopt;
        }
        return monitor::FileTail{it->second.size(), it->second.empty() ? '\n' : it->second.back()};
    }
    bool Append(const std::string& path, const std::string& bytes) override {
        calls.push_back("append");
        if (appends_fail) {
            return false;
        }
        files[path] += bytes;
        return true;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        calls.push_back("replace");
        if (replaces_fail) {
            return false;
        }
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool Lock() override {
        calls.push_back("lock");
        return true;
    }
    void Unlock() override { calls.push_back("unlock"); }
};

class MemoryOptions : public monitor::OptionsPort {
  public:
    MemoryOptions() = default;
    explicit MemoryOptions(const std::string& probe_host) : texts{{"ProbeHost", probe_host}} {}
    std::map<std::string, uint32_t> values;
    std::map<std::string, std::string> texts;
    int writes = 0;
    std::optional<uint32_t> Read(const std::string& name) override {
        auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<uint32_t>(it->second);
    }
    void Write(const std::string& name, uint32_t value) override {
        ++writes;
        values[name] = value;
    }
    std::optional<std::string> ReadText(const std::string& name) override {
        auto it = texts.find(name);
        return it == texts.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void WriteText(const std::string& name, const std::string& value) override {
        texts[name] = value;
    }
    // International names this Windows can turn into ASCII, and their ASCII forms.
    std::map<std::string, std::string> ascii_names;
    std::optional<std::string> AsciiHostName(const std::string& name) override {
        auto it = ascii_names.find(name);
        return it == ascii_names.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

// An interface whose traffic runs at the rates set, counted on the fake clock from one
// reading to the next; with `readable` false, Windows tells nothing of it.
class MeteredInterface : public monitor::InterfaceCountersPort {
  public:
    explicit MeteredInterface(const FakeClock* clock = nullptr) : clock_(clock) {}
    uint64_t receive_bps = 0;
    uint64_t send_bps = 0;
    bool readable = true;
    int reads = 0;

    std::optional<monitor::OctetReading> Read(uint32_t) override {
        ++reads;
        long now = clock_ ? clock_->now() : 0;
        received_ += receive_bps * static_cast<uint64_t>(now - last_) / 8000;
        sent_ += send_bps * static_cast<uint64_t>(now - last_) / 8000;
        last_ = now;
        if (!readable) {
            return std::nullopt;
        }
        return monitor::OctetReading{1, received_, sent_, true, 0, static_cast<uint32_t>(now)};
    }

  private:
    const FakeClock* clock_;
    long last_ = 0;
    uint64_t received_ = 0;
    uint64_t sent_ = 0;
};

}  // namespace zv::testing
