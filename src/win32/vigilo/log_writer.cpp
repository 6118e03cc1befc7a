#include "win32/vigilo/log_writer.h"

#include "win32/platform/critical_section.h"
#include "win32/platform/wide_text.h"
#include "win32/vigilo/link_ports_win.h"

namespace zv::win32 {

// Shared by the window's side and the worker's jobs, so that a job still waiting on the disk
// when the companion ends touches nothing freed.
struct LogWriter::Log {
    CriticalSection guard;
    std::string problem;  // under the guard
    // Only the job of the moment uses these, once the path is known.
    Win32LogFiles files;
    monitor::ProbeLog log{files};
};

LogWriter::LogWriter() : log_(std::make_shared<Log>()) {}

void LogWriter::WaitForQueuedLines() {
    worker_.WaitForQueued();
}

// Asked on the window's thread only, as is the first Path of every Write: the folder is
// known before any job reads it. The log's paths are UTF-8; the window shows ANSI.
std::string LogWriter::Path() const {
    return AnsiFromUtf8(log_->log.Path());
}

void LogWriter::Write(const std::string& line) {
    log_->log.Path();
    bool queued = worker_.PushUnlessFull([log = log_, line] {
        log->log.Write(line);
        Hold held(log->guard);
        log->problem = log->log.Problem();
    });
    if (!queued) {
        ++left_out_;
    }
}

std::string LogWriter::Problem() const {
    if (left_out_ > 0) {
        return "The log file " + Path() + " does not keep up; " + std::to_string(left_out_) +
               " lines were left out.";
    }
    Hold held(log_->guard);
    return AnsiFromUtf8(log_->problem);
}

}  // namespace zv::win32
