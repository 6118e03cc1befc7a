#include "ping/mtu_finder.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "common/numbers.h"
#include "ping/echo_engine.h"

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

// What the path said of one size, once a lost echo has been asked again.
enum class Answer { Fits, TooBig, Lost, Cancelled };

// The ceiling is the interface's MTU, within what an IPv4 packet can be; an interface that
// reports less than the floor is not believed.
int CeilingOf(std::optional<uint32_t> interface_mtu) {
    if (!interface_mtu || *interface_mtu < static_cast<uint32_t>(kMtuFloor)) {
        return kMtuDefaultCeiling;
    }
    return static_cast<int>(std::min<uint32_t>(*interface_mtu, kMtuLargestPacket));
}

// The sizes a search asks at most: the floor, the halvings of the range above it, and the
// confirmation of the answer.
int StepsUpTo(int ceiling) {
    int halvings = 0;
    while ((1 << halvings) < ceiling - kMtuFloor + 1) {
        ++halvings;
    }
    return halvings + 2;
}

// A binary search over sizes, where send(mtu) sends one echo and returns its status.
class Search {
  public:
    Search(std::function<uint32_t(int)> send, int ceiling, const std::atomic<bool>& cancelled,
           const MtuProgress& progress)
        : send_(std::move(send)),
          ceiling_(ceiling),
          steps_(StepsUpTo(ceiling)),
          cancelled_(cancelled),
          progress_(progress) {}

    MtuSearchResult Run() {
        Answer floor = Ask(kMtuFloor);
        if (floor != Answer::Fits) {
            return Ended(floor == Answer::Cancelled ? MtuOutcome::Cancelled : MtuOutcome::NoReply);
        }
        int largest_fit = kMtuFloor;
        int least_misfit = ceiling_ + 1;
        bool refused = false;  // some size got a "too big" answer, not only silence
        while (least_misfit - largest_fit > 1) {
            int mtu = largest_fit + (least_misfit - largest_fit) / 2;
            Answer answer = Ask(mtu);
            if (answer == Answer::Cancelled) {
                return Ended(MtuOutcome::Cancelled);
            }
            refused = refused || answer == Answer::TooBig;
            (answer == Answer::Fits ? largest_fit : least_misfit) = mtu;
        }
        if (largest_fit == kMtuFloor && ceiling_ > kMtuFloor && !refused) {
            return Ended(MtuOutcome::BlackHole);
        }
        // One lucky echo proves little: the size found must come back a second time.
        Answer again = Ask(largest_fit);
        if (again != Answer::Fits) {
            return Ended(again == Answer::Cancelled ? MtuOutcome::Cancelled
                                                    : MtuOutcome::Uncertain);
        }
        result_.mtu = largest_fit;
        return Ended(MtuOutcome::Found);
    }

  private:
    // Only a "too big" answer proves a size too big; a lost echo may be chance, so it is
    // asked again before the silence counts.
    Answer Ask(int mtu) {
        for (int attempt = 0; attempt <= kMtuEchoRetries; ++attempt) {
            if (cancelled_) {
                return Answer::Cancelled;
            }
            ++result_.echoes;
            if (progress_) {
                progress_(step_ * kMtuProgressDone / steps_, mtu);
            }
            uint32_t status = send_(mtu);
            if (status == 0 || status == kEchoPacketTooBig) {
                ++step_;
                return status == 0 ? Answer::Fits : Answer::TooBig;
            }
        }
        ++step_;
        return Answer::Lost;
    }

    MtuSearchResult Ended(MtuOutcome outcome) {
        result_.outcome = outcome;
        return result_;
    }

    std::function<uint32_t(int)> send_;
    const int ceiling_;
    const int steps_;
    const std::atomic<bool>& cancelled_;
    const MtuProgress& progress_;
    int step_ = 0;
    MtuSearchResult result_;
};

}  // namespace

MtuSearchResult MtuFinder::Find(const std::string& host, const std::atomic<bool>& cancelled,
                                const MtuProgress& progress) {
    MtuSearchResult result;
    result.outcome = MtuOutcome::UnknownHost;
    if (TrimBlanks(host).empty()) {
        return result;
    }
    HeldMessage held;
    EchoEngine engine(sockets_, echo_, held, "");
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
        auto send = [&](int mtu) {
            return echo_.SendUnfragmentedEcho(handle, *address, PayloadOf(mtu - kEchoHeaderBytes),
                                              kMtuEchoTimeoutMs);
        };
        result = Search(send, CeilingOf(echo_.InterfaceMtu(*address)), cancelled, progress).Run();
        result.address = *address;
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
        case MtuOutcome::BlackHole:
            return "Only MTU " + std::to_string(kMtuFloor) + " came back from " + host +
                   "; larger packets were lost without a \"too big\" answer. The path looks "
                   "like a black hole: routers drop too-big packets silently.";
        case MtuOutcome::Uncertain:
            return "The answers from " + host +
                   " contradict each other, so the result is uncertain. Try again, or try "
                   "another host.";
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
