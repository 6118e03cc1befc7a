#include "monitor/probe_store.h"

#include <algorithm>
#include <cstdio>

namespace zv::monitor {
namespace {

constexpr char kMagic[] = "ZvPr";
constexpr char kSuffix[] = ".probes";
constexpr std::size_t kNumberDigits = 8;
// Files removed at most at start; each later probe removes at most one more.
constexpr int kPruneStepsAtStart = 64;
// The kept-aside names tried: "History.damaged-1" and on.
constexpr int kAsideNames = 99;

std::string Header() {
    return std::string(kMagic, 4) + static_cast<char>(kStoreVersion) + std::string(3, '\0');
}

// "0000002A.probes": 42; nothing for any other name.
std::optional<uint32_t> FileNumber(const std::string& name) {
    std::size_t suffix = sizeof kSuffix - 1;
    if (name.size() != kNumberDigits + suffix || name.compare(kNumberDigits, suffix, kSuffix)) {
        return std::nullopt;
    }
    uint32_t number = 0;
    for (std::size_t i = 0; i < kNumberDigits; ++i) {
        char c = name[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        number = number * 16 + static_cast<uint32_t>(digit);
    }
    return number;
}

bool ZerosFrom(const std::string& bytes, std::size_t at) {
    return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(),
                       [](char c) { return c == '\0'; });
}

// Calls `take` with each good record of the file, oldest first, up to the first bad one
// (one frame for all, so that a host's text is not made anew for each); returns the offset
// where the good records end, and the context after them.
template <typename Take>
std::size_t ReadRecords(const std::string& bytes, RecordContext& context, Take take) {
    std::size_t at = kStoreHeaderBytes;
    DecodedFrame frame;
    while (at < bytes.size()) {
        DecodeRecord(bytes, at, context, frame);
        if (frame.check != FrameCheck::Good) {
            break;
        }
        take(frame.stored);
        at = frame.end;
    }
    return std::min(at, bytes.size());
}

}  // namespace

ProbeStore::ProbeStore(StoreFilesPort& files, int keep_days)
    : files_(files), keep_ms_(keep_days * kDayMs) {}

std::string ProbeStore::PathOf(uint32_t number) const {
    char name[16];
    std::snprintf(name, sizeof name, "%08X", number);
    return folder_ + "\\" + name + kSuffix;
}

void ProbeStore::ScanFile(File& file, const std::string& bytes) {
    context_ = {};
    context_file_ = 0;
    file.size = bytes.size();
    if (bytes.size() < kStoreHeaderBytes) {
        return;  // begun by a write a crash cut short
    }
    if (bytes.compare(0, 4, kMagic) != 0) {
        file.damaged = true;
        return;
    }
    if (static_cast<uint8_t>(bytes[4]) > kStoreVersion) {
        file.newer = true;
        return;
    }
    RecordContext context;
    file.good_size = ReadRecords(bytes, context, [&](const StoredProbe& stored) {
        file.first_order = file.records++ ? file.first_order : stored.order_ms;
        file.last_order = stored.order_ms;
        newest_ = Newest{stored.order_ms, stored.probe.time.utc_ms};
    });
    if (file.good_size < bytes.size()) {
        // A torn record is the file's last, or is followed by nothing but zeros.
        RecordContext after = context;
        DecodedFrame bad;
        DecodeRecord(bytes, file.good_size, after, bad);
        file.damaged = bad.end < bytes.size() && !ZerosFrom(bytes, file.good_size);
    }
    context_ = context;
    context_file_ = file.number;
}

void ProbeStore::Scan() {
    files_list_.clear();
    newest_.reset();
    context_ = {};
    std::vector<uint32_t> numbers;
    for (const std::string& name : files_.List(folder_)) {
        if (std::optional<uint32_t> number = FileNumber(name)) {
            numbers.push_back(*number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    for (uint32_t number : numbers) {
        File file;
        file.number = number;
        std::optional<std::string> bytes = files_.Read(PathOf(number));
        // One that cannot be read now (another program holds it) is left as it is.
        ScanFile(file, bytes.value_or(""));
        file.unreadable = !bytes;
        files_list_.push_back(file);
    }
}

// The time the companion did not run is the wall clock's step, or, when the clock went
// back meanwhile, a little more than a probe holds: a gap of unknown length.
void ProbeStore::ResumeAt(const Moment& now) {
    if (!newest_) {
        base_ = now.wall.utc_ms - now.tick_ms;
        return;
    }
    int64_t step = now.wall.utc_ms - newest_->utc_ms;
    if (step <= 0) {
        step = kStateHoldMs + 1;
    }
    base_ = newest_->order_ms + step - now.tick_ms;
}

void ProbeStore::RepairTail() {
    auto empty = [](const File& file) {
        return file.records == 0 && !file.damaged && !file.newer && !file.unreadable;
    };
    for (const File& file : files_list_) {
        if (empty(file)) {
            files_.Remove(PathOf(file.number));
        }
    }
    files_list_.erase(std::remove_if(files_list_.begin(), files_list_.end(), empty),
                      files_list_.end());
    if (files_list_.empty()) {
        context_ = {};
        return;
    }
    File& last = files_list_.back();
    if (last.good_size < last.size) {
        new_file_due_ = !files_.Truncate(PathOf(last.number), last.good_size);
        last.size = last.good_size;
    }
}

std::string ProbeStore::SetAside(bool newer) {
    const char* kind = newer ? ".newer-" : ".damaged-";
    for (int n = 1; n <= kAsideNames; ++n) {
        std::string aside = folder_ + kind + std::to_string(n);
        if (files_.Rename(folder_, aside)) {
            files_.CreateFolder(folder_);
            files_list_.clear();
            context_ = {};
            newest_.reset();
            return std::string("The probe record ") +
                   (newer ? "was written by a newer Vigilo" : "is damaged") + ". It is kept as " +
                   aside + ", and a new record begun.";
        }
    }
    std::string problem = "The probe record in " + folder_ +
                          " is damaged and could not be kept aside: no probe is recorded.";
    folder_.clear();
    return problem;
}

StoreOpening ProbeStore::Open(const Moment& start, int64_t restore_ms, int64_t span_ms) {
    StoreOpening opening;
    std::string root = files_.LocalAppDataFolder();
    if (root.empty()) {
        return opening;
    }
    std::string vigilo = root + "\\Zorvane\\Vigilo";
    files_.CreateFolder(root + "\\Zorvane");
    files_.CreateFolder(vigilo);
    if (!files_.CreateFolder(vigilo + "\\History")) {
        return opening;  // and nothing is recorded
    }
    folder_ = vigilo + "\\History";
    lock_path_ = vigilo + "\\History.lock";
    writing_ = files_.Lock(lock_path_);
    Scan();
    ResumeAt(start);
    int64_t whole_from = start.tick_ms - restore_ms;
    int64_t span_from = start.tick_ms - span_ms;
    ForEach(std::min(whole_from, span_from), start.tick_ms, [&](const Probe& probe) {
        if (probe.tick_ms >= whole_from) {
            opening.restored.push_back(probe);
        }
        if (probe.tick_ms >= span_from && !probe.extra) {
            opening.span.push_back(SpanSample::Of(probe));
        }
    });
    bool newer = std::any_of(files_list_.begin(), files_list_.end(),
                             [](const File& file) { return file.newer; });
    bool damaged = std::any_of(files_list_.begin(), files_list_.end(),
                               [](const File& file) { return file.damaged; });
    if (writing_ && (newer || damaged)) {
        opening.problem = SetAside(newer);
    }
    if (writing_) {
        RepairTail();
        for (int step = 0; step < kPruneStepsAtStart && PruneStep(start); ++step) {
        }
    }
    return opening;
}

void ProbeStore::Append(const Probe& probe) {
    if (folder_.empty()) {
        return;
    }
    if (!writing_) {
        if (!files_.Lock(lock_path_)) {
            return;
        }
        // The companion that wrote until now has gone: go on after its newest record.
        writing_ = true;
        Scan();
        int64_t base = base_;
        ResumeAt({probe.time, probe.tick_ms});
        base_ = std::max(base_, base);
        RepairTail();
        new_file_due_ = new_file_due_ || files_list_.empty() || files_list_.back().damaged ||
                        files_list_.back().newer;
    }
    int64_t order = probe.tick_ms + base_;
    if (newest_) {
        order = std::max(order, newest_->order_ms);
    }
    std::string bytes;
    if (files_list_.empty() || new_file_due_ || context_file_ != files_list_.back().number ||
        order - files_list_.back().first_order >= kStoreFileSpanMs) {
        uint32_t number = files_list_.empty() ? 1 : files_list_.back().number + 1;
        files_list_.push_back({number, 0, order, order, 0, 0, false, false, false});
        context_ = {};
        context_file_ = number;
        bytes = Header();
        new_file_due_ = false;
    }
    bytes += EncodeRecord({order, probe}, context_);
    File& file = files_list_.back();
    if (!files_.Append(PathOf(file.number), bytes)) {
        // What reached the disk, if anything, may end in a part of the record.
        new_file_due_ = true;
        return;
    }
    file.first_order = file.records++ ? file.first_order : order;
    file.last_order = order;
    file.size += bytes.size();
    file.good_size = file.size;
    newest_ = Newest{order, probe.time.utc_ms};
}

bool ProbeStore::PruneStep(const Moment& now) {
    if (!writing_ || files_list_.empty()) {
        return false;
    }
    int64_t cutoff = now.tick_ms + base_ - keep_ms_;
    const File& oldest = files_list_.front();
    // All of it lies before the first record of the next file that holds one.
    auto next = std::find_if(files_list_.begin() + 1, files_list_.end(),
                             [](const File& file) { return file.records > 0; });
    bool old = next != files_list_.end() ? next->first_order <= cutoff
                                         : oldest.records > 0 && oldest.last_order < cutoff;
    if (!old || !files_.Remove(PathOf(oldest.number))) {
        return false;
    }
    files_list_.erase(files_list_.begin());
    new_file_due_ = new_file_due_ || files_list_.empty();
    return true;
}

void ProbeStore::ForEach(int64_t from_tick, int64_t to_tick,
                         const std::function<void(const Probe&)>& take) const {
    int64_t from = from_tick + base_;
    int64_t to = to_tick + base_;
    for (const File& file : files_list_) {
        if (file.records == 0 || file.newer || file.last_order < from || file.first_order > to) {
            continue;
        }
        std::optional<std::string> bytes = files_.Read(PathOf(file.number));
        RecordContext context;
        ReadRecords(bytes.value_or(""), context, [&](StoredProbe& stored) {
            if (stored.order_ms >= from && stored.order_ms <= to) {
                stored.probe.tick_ms = stored.order_ms - base_;
                take(stored.probe);
            }
        });
    }
}

}  // namespace zv::monitor
