#include "ping/mtu_finder.h"

#include <optional>

#include "common/numbers.h"
#include "ping/mdl_ping.h"

namespace zv::ping {

namespace {

// The search runs away from the window, so the engine's messages about Windows Sockets
// are kept for the result rather than shown from there.
class HeldMessage : public ui::MessageBoxPort {
  public:
    std::string text;
    ui::MessageAnswer Show(const ui::Message& message) override {
        text = message.text;
        return ui::MessageAnswer::Ok;
    }
};

// The keep-alive ping's text, repeated to the size asked for.
std::string PayloadOf(int bytes) {
    std::string payload(static_cast<size_t>(bytes), ' ');
    for (size_t i = 0; i < payload.size(); ++i) {
        payload[i] = kEchoPayload[i % kEchoPayload.size()];
    }
    return payload;
}

// fits(mtu) sends one echo: true when a packet of that many bytes came back. The floor
// goes first, so that a host that answers nothing is told apart from a small MTU.
MtuSearchResult Search(const std::function<bool(int)>& fits, const std::atomic<bool>& cancelled,
                       const MtuProgress& progress) {
    MtuSearchResult result;
    auto try_size = [&](int mtu) -> std::optional<bool> {
        if (cancelled) {
            return std::nullopt;
        }
        ++result.echoes;
        if (progress) {
            progress(result.echoes, mtu);
        }
        return fits(mtu);
    };
    std::optional<bool> floor_fits = try_size(kMtuFloor);
    if (!floor_fits || !*floor_fits) {
        result.outcome = floor_fits ? MtuOutcome::NoReply : MtuOutcome::Cancelled;
        return result;
    }
    int largest_fit = kMtuFloor;
    int least_misfit = kMtuCeiling + 1;
    while (least_misfit - largest_fit > 1) {
        int mtu = largest_fit + (least_misfit - largest_fit) / 2;
        std::optional<bool> fit = try_size(mtu);
        if (!fit) {
            result.outcome = MtuOutcome::Cancelled;
            return result;
        }
        (*fit ? largest_fit : least_misfit) = mtu;
    }
    result.outcome = MtuOutcome::Found;
    result.mtu = largest_fit;
    return result;
}

}  // namespace

MtuSearchResult MtuFinder::Find(const std::string& host, const std::atomic<bool>& cancelled,
                                const MtuProgress& progress) {
    MtuSearchResult result;
    result.outcome = MtuOutcome::UnknownHost;
    if (TrimBlanks(host).empty()) {
        return result;
    }
    HeldMessage held;
    mdlPing engine(sockets_, echo_, held, "");
    if (!engine.StartSockets()) {
        result.outcome = MtuOutcome::SocketsFailed;
        result.failure = held.text;
        return result;
    }
    std::optional<uint32_t> address;
    if (auto target = engine.ResolveDottedName(host)) {
        address = engine.AddressFromText(*target);
    }
    if (address) {
        EchoHandle handle = echo_.Open();
        auto fits = [&](int mtu) {
            return echo_.SendUnfragmentedEcho(handle, *address, PayloadOf(mtu - kEchoHeaderBytes),
                                              kMtuEchoTimeoutMs) == 0;
        };
        result = Search(fits, cancelled, progress);
        echo_.Close(handle);
    }
    engine.StopSockets();
    return result;
}

std::string DescribeMtuResult(const MtuSearchResult& result, const std::string& host) {
    switch (result.outcome) {
        case MtuOutcome::Found:
            return "Largest MTU: " + std::to_string(result.mtu);
        case MtuOutcome::NoReply:
            return "No echo came back from " + host + ", not even at MTU " +
                   std::to_string(kMtuFloor) +
                   ". The host may ignore pings, or a router on the way drops them and its "
                   "\"too big\" answers. Try another host.";
        case MtuOutcome::Cancelled:
            return "Search cancelled.";
        case MtuOutcome::UnknownHost:
            return "The host " + host + " cannot be found.";
        case MtuOutcome::SocketsFailed:
            return result.failure;
    }
    return {};
}

}  // namespace zv::ping
