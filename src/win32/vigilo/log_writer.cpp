#include "win32/vigilo/log_writer.h"

#include <deque>

#include "win32/platform/worker_thread.h"
#include "win32/platform/wide_text.h"
#include "win32/vigilo/link_ports_win.h"

namespace zv::win32 {

// Shared by the window's side and the worker, so that a worker still waiting on the disk
// when the companion ends touches nothing freed.
struct LogWriter::Queue {
    Queue() { InitializeCriticalSection(&guard); }
    ~Queue() { DeleteCriticalSection(&guard); }
    Queue(const Queue&) = delete;
    Queue& operator=(const Queue&) = delete;

    CRITICAL_SECTION guard;
    // Under the guard:
    std::deque<std::string> lines;
    bool draining = false;  // a worker is on its way through the lines
    std::size_t left_out = 0;
    std::string problem;
    // Only the worker of the moment uses these, once the path is known.
    Win32LogFiles files;
    monitor::ProbeLog log{files};
};

namespace {

class Guard {
  public:
    explicit Guard(CRITICAL_SECTION& section) : section_(section) {
        EnterCriticalSection(&section_);
    }
    ~Guard() { LeaveCriticalSection(&section_); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

  private:
    CRITICAL_SECTION& section_;
};

}  // namespace

// Writes the lines queued until none is left; the next line queued starts a worker anew.
void LogWriter::WriteQueued(Queue& queue) {
    for (;;) {
        std::string line;
        {
            Guard held(queue.guard);
            if (queue.lines.empty()) {
                queue.draining = false;
                return;
            }
            line = std::move(queue.lines.front());
            queue.lines.pop_front();
        }
        queue.log.Write(line);
        Guard held(queue.guard);
        queue.problem = queue.log.Problem();
    }
}

LogWriter::LogWriter() : queue_(std::make_shared<Queue>()) {}

LogWriter::~LogWriter() {
    WaitForQueuedLines();
    if (worker_ != nullptr) {
        CloseHandle(worker_);
    }
}

void LogWriter::WaitForQueuedLines() {
    FinishWorker(worker_, kLogDrainAtExitMs);
}

// Asked on the window's thread only, as is the first Path of every Write: the folder is
// known before any worker reads it. The log's paths are UTF-8; the window shows ANSI.
std::string LogWriter::Path() const {
    return AnsiFromUtf8(queue_->log.Path());
}

void LogWriter::Write(const std::string& line) {
    queue_->log.Path();
    {
        Guard held(queue_->guard);
        if (queue_->lines.size() >= kLogQueueLimit) {
            ++queue_->left_out;
            return;
        }
        queue_->lines.push_back(line);
        if (queue_->draining) {
            return;
        }
        queue_->draining = true;
    }
    Drain();
}

// The worker before has ended its round (it cleared `draining`): only its handle is left.
void LogWriter::Drain() {
    if (worker_ != nullptr) {
        CloseHandle(worker_);
    }
    worker_ = StartWorker([queue = queue_] { WriteQueued(*queue); });
}

std::string LogWriter::Problem() const {
    Guard held(queue_->guard);
    if (queue_->left_out > 0) {
        return "The log file " + Path() + " does not keep up; " + std::to_string(queue_->left_out) +
               " lines were left out.";
    }
    return AnsiFromUtf8(queue_->problem);
}

}  // namespace zv::win32
