#include "win32/ping/mtu_search_thread.h"

#include "win32/ping/icmp_echo_service.h"
#include "win32/ping/winsock_service.h"
#include "win32/platform/worker_thread.h"

namespace zv::win32 {

MtuSearchThread::~MtuSearchThread() {
    Cancel();
    Wait();
}

void MtuSearchThread::Start(const std::string& host) {
    Wait();
    host_ = host;
    cancelled_ = false;
    result_ = ping::MtuSearchResult{};
    thread_ = StartWorkerThread(&MtuSearchThread::Run, this);
}

void MtuSearchThread::UseForAdapter(uint32_t address, int mtu) {
    Wait();
    adapter_address_ = address;
    adapter_mtu_ = mtu;
    adapter_outcome_.clear();
    thread_ = StartWorkerThread(&MtuSearchThread::RunAdapter, this);
}

unsigned __stdcall MtuSearchThread::RunAdapter(void* self_pointer) {
    auto* self = static_cast<MtuSearchThread*>(self_pointer);
    self->adapter_outcome_ = self->set_adapter_mtu_(self->adapter_address_, self->adapter_mtu_);
    PostMessageA(self->window_, kMtuAdapterMessage, 0, 0);
    return 0;
}

unsigned __stdcall MtuSearchThread::Run(void* self_pointer) {
    auto* self = static_cast<MtuSearchThread*>(self_pointer);
    {
        WinsockService sockets;
        IcmpEchoService echo;
        ping::MtuFinder finder(sockets, echo);
        self->result_ = finder.Find(self->host_, self->cancelled_, [self](int percent, int mtu) {
            PostMessageA(self->window_, kMtuEchoMessage, static_cast<WPARAM>(percent),
                         static_cast<LPARAM>(mtu));
        });
    }
    PostMessageA(self->window_, kMtuDoneMessage, 0, 0);
    return 0;
}

ping::MtuSearchResult MtuSearchThread::TakeResult() {
    Wait();
    return result_;
}

std::string MtuSearchThread::TakeAdapterOutcome() {
    Wait();
    return adapter_outcome_;
}

void MtuSearchThread::Wait() {
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
}

}  // namespace zv::win32
