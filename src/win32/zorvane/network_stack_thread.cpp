#include "win32/zorvane/network_stack_thread.h"

#include <vector>

#include "win32/platform/single_instance.h"
#include "win32/platform/worker_thread.h"

namespace zv::win32 {

using main_window::NetworkStackView;
using main_window::StackChangeRequest;
using main_window::StackFindingText;
using main_window::StackReading;
using main_window::StackRowText;

struct NetworkStackThread::Shared {
    std::shared_ptr<main_window::NetworkStackSource> source;
    HWND window = nullptr;
    CRITICAL_SECTION lock;
    std::vector<std::function<void(NetworkStackView&)>> answers;

    Shared() { InitializeCriticalSection(&lock); }
    ~Shared() { DeleteCriticalSection(&lock); }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;

    // Queues an answer and tells the window; a window already gone takes nothing more.
    void Send(std::function<void(NetworkStackView&)> answer) {
        EnterCriticalSection(&lock);
        if (window != nullptr) {
            answers.push_back(std::move(answer));
            PostMessageA(window, kStackAnswerMessage, 0, 0);
        }
        LeaveCriticalSection(&lock);
    }

    void ForgetWindow() {
        EnterCriticalSection(&lock);
        window = nullptr;
        LeaveCriticalSection(&lock);
    }

    std::vector<std::function<void(NetworkStackView&)>> TakeAnswers() {
        std::vector<std::function<void(NetworkStackView&)>> taken;
        EnterCriticalSection(&lock);
        taken.swap(answers);
        LeaveCriticalSection(&lock);
        return taken;
    }
};

NetworkStackThread::NetworkStackThread(std::shared_ptr<main_window::NetworkStackSource> source)
    : shared_(std::make_shared<Shared>()) {
    shared_->source = std::move(source);
}

void NetworkStackThread::ReportTo(HWND window) {
    shared_->window = window;
}

NetworkStackThread::~NetworkStackThread() {
    shared_->ForgetWindow();
    if (!FinishWorker(thread_, changing_ ? INFINITE : kStackCloseWaitMs)) {
        CloseHandle(thread_);  // a read finishes alone, on the state it shares
    }
}

void NetworkStackThread::Read() {
    changing_ = false;
    Start([](Shared& shared) {
        StackReading reading = shared.source->Read([&shared](std::vector<StackRowText> rows) {
            shared.Send([rows = std::move(rows)](NetworkStackView& view) { view.OnRows(rows); });
        });
        shared.Send([reading = std::move(reading)](NetworkStackView& view) {
            view.OnReadDone(reading.findings, reading.note);
        });
    });
}

void NetworkStackThread::Change(const StackChangeRequest& request) {
    changing_ = true;
    Start([request](Shared& shared) {
        ChangeLock lock;
        HeldChangeLock held(&lock);
        std::vector<std::string> outcomes = held.held()
                                                ? shared.source->Change(request)
                                                : std::vector<std::string>{kAnotherChangeRuns};
        shared.Send(
            [outcomes = std::move(outcomes)](NetworkStackView& view) { view.OnChanged(outcomes); });
    });
}

// The view starts a job only once the last one answered, so the one before has ended or
// is about to.
void NetworkStackThread::Start(Job job) {
    FinishWorker(thread_, INFINITE);
    thread_ = StartWorker([shared = shared_, job = std::move(job)] { job(*shared); });
}

void NetworkStackThread::DeliverAnswers(NetworkStackView& view) {
    for (auto& answer : shared_->TakeAnswers()) {
        answer(view);
    }
}

}  // namespace zv::win32
