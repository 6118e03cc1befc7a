// The companion's log file: one line per probe appended to "Vigilo.log" in the user's
// application-data folder, so that a user can hand the record of a bad connection to the
// provider. Each line goes out in one write; a line a crash cut short is ended before the
// next one, so every later line reads whole. At 1 MB the file becomes "Vigilo.old.log"
// (replacing the one before) and a new one begins; while that rename fails (the old file
// read-only or open elsewhere) lines go on at the end of the full one. Companions of one
// user in several sessions share the file: each write holds the user's log lock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "monitor/probe_history.h"

namespace zv::monitor {

// What an existing file ends with: its size and last byte.
struct FileTail {
    uint64_t size = 0;
    char last = '\n';  // '\n' for an empty file
};

class LogFilePort {
  public:
    virtual ~LogFilePort() = default;
    // The user's application-data folder (%APPDATA%), without a trailing backslash; empty
    // when Windows does not say.
    virtual std::string AppDataFolder() = 0;
    // True when the folder is there afterwards.
    virtual bool CreateFolder(const std::string& path) = 0;
    // Nothing when the file is missing.
    virtual std::optional<FileTail> Tail(const std::string& path) = 0;
    // Appends the bytes in one write and flushes them; creates the file when missing.
    virtual bool Append(const std::string& path, const std::string& bytes) = 0;
    // Renames the file, replacing one of the new name.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    // Takes the lock every companion of this user shares, waiting a bounded time; false
    // when it could not be had, and the line then goes out unguarded rather than not at all.
    virtual bool Lock() = 0;
    virtual void Unlock() = 0;
};

inline constexpr uint64_t kLogLimitBytes = 1024 * 1024;

// What the monitor asks of its log. ProbeLog writes each line before it returns; the
// companion hands its lines to a writer of their own, as a log folder on a server share or
// a sleeping disk may keep each for seconds, which the window's thread must never wait.
class LogPort {
  public:
    virtual ~LogPort() = default;
    // "%APPDATA%\Zorvane\Vigilo.log"; empty when there is no application-data folder.
    virtual std::string Path() const = 0;
    // Appends a probe's line. A failure leaves the companion running and is kept as the
    // problem the history window shows; a later line that goes out whole clears it.
    virtual void Write(const std::string& line) = 0;
    // Empty, or the one message about what went wrong with the log's latest line.
    virtual std::string Problem() const = 0;
};

class ProbeLog : public LogPort {
  public:
    explicit ProbeLog(LogFilePort& files) : files_(files) {}

    std::string Path() const override;
    std::string OldPath() const;
    void Write(const std::string& line) override;
    std::string Problem() const override { return problem_; }

  private:
    const std::string& Folder() const;
    // The problem, or empty text when the line went out and the file kept its limit.
    std::string Append(const std::string& path, const std::string& line);

    LogFilePort& files_;
    mutable std::optional<std::string> folder_;
    std::string problem_;
};

}  // namespace zv::monitor
