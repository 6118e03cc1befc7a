// The companion's lasting record of every probe, across restarts, log-offs and updates: in
// "%LOCALAPPDATA%\Zorvane\Vigilo\History", files of about a day of records each
// ("00000001.probes", numbered in the order they were begun), each an 8-byte header (the
// letters "ZvPr" and the format's version) and then records (see probe_record.h) appended
// one write at a time. Pruning removes whole files, one at a time, once all of a file is
// older than the days kept.
//
// Probes are placed on the store's own forward-only count, which goes on from one run to
// the next by the wall clock's step between them (and by a little more than a probe's hold
// when the clock went back meanwhile), so that neither a clock nor a time-zone change
// reorders or hides a probe, and the time the companion did not run stays a gap.
//
// A record a crash or power cut cut short is the last of its file (or the file ends in the
// zeros a cut extension leaves): it is dropped, and the writer cuts it off before it
// appends again. Any other bad record, or a file of a newer format, makes the store
// damaged: it is kept aside under a new name, a new one begun, and the user told once; the
// good records before the damage still fill the history.
//
// One companion of the user writes at a time (the lock file "History.lock", held for the
// rest of its run); another reads the record at start and takes the writing over when the
// lock comes free.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "monitor/probe_history.h"
#include "monitor/probe_record.h"
#include "monitor/span_record.h"

namespace zv::monitor {

inline constexpr int64_t kDayMs = 24 * kHourMs;
// A file is closed and the next begun once it spans this much.
inline constexpr int64_t kStoreFileSpanMs = kDayMs;
inline constexpr uint8_t kStoreVersion = 1;
inline constexpr std::size_t kStoreHeaderBytes = 8;

class StoreFilesPort {
  public:
    virtual ~StoreFilesPort() = default;
    // The user's local application-data folder (%LOCALAPPDATA%), without a trailing
    // backslash; empty when Windows does not say.
    virtual std::string LocalAppDataFolder() = 0;
    // True when the folder is there afterwards.
    virtual bool CreateFolder(const std::string& path) = 0;
    // The names of the files in the folder, in no order.
    virtual std::vector<std::string> List(const std::string& folder) = 0;
    virtual std::optional<std::string> Read(const std::string& path) = 0;
    // Appends the bytes in one write and flushes them; creates the file when missing.
    virtual bool Append(const std::string& path, const std::string& bytes) = 0;
    virtual bool Truncate(const std::string& path, uint64_t size) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Renames a file or folder; fails when the new name is taken.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    // Takes the lock for the rest of the program's life; false while another program holds it.
    virtual bool Lock(const std::string& path) = 0;
};

struct StoreOpening {
    std::vector<Probe> restored;   // oldest first, on the run's forward-only count
    std::vector<SpanSample> span;  // the regular probes of the longer span read back, in brief
    std::string problem;           // the one message of a store kept aside; empty otherwise
};

class ProbeStore {
  public:
    ProbeStore(StoreFilesPort& files, int keep_days);

    // Opens the record for the run that began at `start` (no probe of the run before it)
    // and reads back the probes of the `restore_ms` before then whole, and the regular ones
    // of the `span_ms` before then in brief.
    StoreOpening Open(const Moment& start, int64_t restore_ms, int64_t span_ms = 0);
    // Appends a probe of this run; nothing while another companion writes.
    void Append(const Probe& probe);
    // Removes the oldest file once all of it is older than the days kept; true when one went.
    bool PruneStep(const Moment& now);
    // Each stored probe sent in [from_tick, to_tick] of this run's count, oldest first.
    void ForEach(int64_t from_tick, int64_t to_tick,
                 const std::function<void(const Probe&)>& take) const;

    bool Writing() const { return writing_; }
    const std::string& Folder() const { return folder_; }

  private:
    struct File {
        uint32_t number = 0;
        std::size_t records = 0;
        int64_t first_order = 0;
        int64_t last_order = 0;
        std::size_t good_size = 0;  // up to the end of its last good record
        std::size_t size = 0;
        bool damaged = false;
        bool newer = false;
        bool unreadable = false;
    };
    // Reads every file: what it holds, and the newest record's place and context.
    void Scan();
    void ScanFile(File& file, const std::string& bytes);
    // Sets the count's step from the newest record to `now`.
    void ResumeAt(const Moment& now);
    // Cuts a torn record off the newest file and drops files without a record.
    void RepairTail();
    std::string SetAside(bool newer);
    std::string PathOf(uint32_t number) const;

    StoreFilesPort& files_;
    int64_t keep_ms_;
    std::string folder_;
    std::string lock_path_;
    bool writing_ = false;
    std::vector<File> files_list_;
    RecordContext context_;  // after the last good record of the file numbered context_file_
    uint32_t context_file_ = 0;
    struct Newest {
        int64_t order_ms;
        int64_t utc_ms;
    };
    std::optional<Newest> newest_;  // the newest record's
    int64_t base_ = 0;              // the store's count minus this run's
    // The newest file may end in a record cut short: the next record begins a new file.
    bool new_file_due_ = false;
};

}  // namespace zv::monitor
