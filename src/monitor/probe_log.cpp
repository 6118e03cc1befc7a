#include "monitor/probe_log.h"

namespace zv::monitor {

// Asked of Windows once, when the log is first needed: a companion that never logs never
// asks.
const std::string& ProbeLog::Folder() const {
    if (!folder_) {
        std::string app_data = files_.AppDataFolder();
        folder_ = app_data.empty() ? "" : app_data + "\\Zorvane";
    }
    return *folder_;
}

std::string ProbeLog::Path() const {
    return Folder().empty() ? "" : Folder() + "\\Vigilo.log";
}

std::string ProbeLog::OldPath() const {
    return Folder().empty() ? "" : Folder() + "\\Vigilo.old.log";
}

void ProbeLog::Write(const std::string& line) {
    std::string path = Path();
    bool locked = files_.Lock();
    problem_ = Append(path, line);
    if (locked) {
        files_.Unlock();
    }
}

std::string ProbeLog::Append(const std::string& path, const std::string& line) {
    std::string cannot_write = "The log file " + (path.empty() ? std::string("Vigilo.log") : path) +
                               " cannot be written; the monitor goes on without it.";
    if (path.empty() || !files_.CreateFolder(Folder())) {
        return cannot_write;
    }
    std::optional<FileTail> tail = files_.Tail(path);
    // A line a crash cut short gets its line end here, so it stands alone; the end counts
    // toward the limit.
    bool cut_short = tail && tail->size > 0 && tail->last != '\n';
    std::string bytes = cut_short ? "\r\n" + line : line;
    std::string problem;
    if (tail && tail->size + bytes.size() > kLogLimitBytes) {
        if (files_.Replace(path, OldPath())) {
            bytes = line;
        } else {
            problem = "The log file " + path + " is full, and it could not be renamed to " +
                      OldPath() + "; new lines go on at its end.";
        }
    }
    return files_.Append(path, bytes) ? problem : cannot_write;
}

}  // namespace zv::monitor
