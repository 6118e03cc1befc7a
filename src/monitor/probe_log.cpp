#include "monitor/probe_log.h"

#include "monitor/link_texts.h"

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

void ProbeLog::Write(const Probe& probe, const std::string& host) {
    std::string path = Path();
    if (TryWrite(path, LogLine(probe, host))) {
        problem_.clear();
    } else {
        problem_ = "The log file " + (path.empty() ? std::string("Vigilo.log") : path) +
                   " cannot be written; the monitor goes on without it.";
    }
}

bool ProbeLog::TryWrite(const std::string& path, const std::string& line) {
    if (path.empty() || !files_.CreateFolder(Folder())) {
        return false;
    }
    std::optional<FileTail> tail = files_.Tail(path);
    if (tail && tail->size + line.size() > kLogLimitBytes) {
        if (!files_.Replace(path, OldPath())) {
            return false;
        }
        tail.reset();
    }
    // A line a crash cut short gets its line end here, so it stands alone.
    bool cut_short = tail && tail->size > 0 && tail->last != '\n';
    return files_.Append(path, cut_short ? "\r\n" + line : line);
}

}  // namespace zv::monitor
