#include "win32/ping/mtu_search_thread.h"

#include "win32/ping/icmp_echo_service.h"
#include "win32/ping/winsock_service.h"
#include "win32/platform/worker_thread.h"

namespace zv::win32 {

MtuSearchThread::~MtuSearchThread() {
    Cancel();
    FinishWorker(thread_, INFINITE);
}

void MtuSearchThread::Start(const std::string& host) {
    FinishWorker(thread_, INFINITE);
    cancelled_ = false;
    result_ = ping::MtuSearchResult{};
    thread_ = StartWorker([this, host] { Search(host); });
}

void MtuSearchThread::UseForAdapter(uint32_t address, int mtu) {
    FinishWorker(thread_, INFINITE);
    adapter_address_ = address;
    adapter_mtu_ = mtu;
    adapter_outcome_.clear();
    thread_ = StartWorker([this] { SetAdapter(); });
}

void MtuSearchThread::SetAdapter() {
    adapter_outcome_ = set_adapter_mtu_(adapter_address_, adapter_mtu_);
    PostMessageA(window_, kMtuAdapterMessage, 0, 0);
}

void MtuSearchThread::Search(const std::string& host) {
    {
        WinsockService sockets;
        IcmpEchoService echo;
        ping::MtuFinder finder(sockets, echo);
        result_ = finder.Find(host, cancelled_, [this](int percent, int mtu) {
            PostMessageA(window_, kMtuEchoMessage, static_cast<WPARAM>(percent),
                         static_cast<LPARAM>(mtu));
        });
    }
    PostMessageA(window_, kMtuDoneMessage, 0, 0);
}

ping::MtuSearchResult MtuSearchThread::TakeResult() {
    FinishWorker(thread_, INFINITE);
    return result_;
}

std::string MtuSearchThread::TakeAdapterOutcome() {
    FinishWorker(thread_, INFINITE);
    return adapter_outcome_;
}

}  // namespace zv::win32
