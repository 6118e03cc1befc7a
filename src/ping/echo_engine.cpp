#include "ping/echo_engine.h"

#include "common/numbers.h"
#include "ping/dotted_address.h"

namespace zv::ping {

namespace {

constexpr uint16_t kRequestedVersion = 0x0101;
constexpr int kMinimumSockets = 1;
constexpr int kIPv4Length = 4;

uint32_t AddressFromBytes(const std::vector<uint8_t>& bytes) {
    uint32_t address = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        address |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    }
    return address;
}

}  // namespace

EchoEngine::EchoEngine(SocketsService& sockets, EchoService& echo, ui::MessageBoxPort& messages,
                       std::string program_title)
    : sockets_(sockets),
      echo_(echo),
      messages_(messages),
      program_title_(std::move(program_title)) {}

bool EchoEngine::PingOnce(const std::string& host, int32_t timeout_ms) {
    return PingRoundTrip(host, timeout_ms).has_value();
}

std::optional<uint32_t> EchoEngine::PingRoundTrip(const std::string& host, int32_t timeout_ms) {
    if (TrimBlanks(host).empty()) {
        return std::nullopt;
    }
    if (!StartSockets()) {
        return std::nullopt;
    }
    auto target = ResolveDottedName(host);
    if (!target) {
        StopSockets();
        return std::nullopt;
    }
    EchoReply reply;
    bool sent = SendEchoRequest(*target, reply, timeout_ms);
    StopSockets();
    if (!sent || reply.Status != 0) {
        return std::nullopt;
    }
    return reply.RoundTripTime;
}

bool EchoEngine::SendEchoRequest(const std::string& host, EchoReply& reply, int32_t timeout_ms) {
    auto address = AddressFromText(host);
    if (!address) {
        return false;
    }
    EchoHandle handle = echo_.Open();
    EchoResult result = echo_.SendTimedEcho(handle, *address, kEchoPayload, timeout_ms);
    reply.Status = result.status;
    reply.RoundTripTime = result.round_trip_ms;
    echo_.Close(handle);
    return true;
}

std::optional<std::string> EchoEngine::ResolveDottedName(const std::string& host) {
    if (!IsDottedName(host)) {
        return host;
    }
    auto addresses = LookupHostAddresses(host);
    if (!addresses || addresses->empty()) {
        return std::nullopt;
    }
    return addresses->front();
}

std::optional<uint32_t> EchoEngine::AddressFromText(const std::string& host) {
    if (host.find('.') != std::string::npos) {
        return ParseDottedAddress(host);
    }
    auto entry = sockets_.GetHostByName(host);
    if (!entry || entry->address_length != kIPv4Length || entry->addresses.empty()) {
        return std::nullopt;
    }
    return AddressFromBytes(entry->addresses.front());
}

std::optional<std::vector<std::string>> EchoEngine::LookupHostAddresses(const std::string& name) {
    if (!StartSockets()) {
        return std::nullopt;
    }
    std::vector<std::string> texts;
    if (auto entry = sockets_.GetHostByName(name)) {
        for (const auto& bytes : entry->addresses) {
            texts.push_back(AddressBytesToText(bytes));
        }
    }
    StopSockets();
    return texts;
}

bool EchoEngine::StartSockets() {
    SocketsStartup startup = sockets_.Startup(kRequestedVersion);
    if (startup.result != 0) {
        Tell("Windows Sockets for 32 bit Windows environments is not successfully responding.",
             ui::MessageIcon::None);
        return false;
    }
    int major = startup.wVersion & 0xFF;
    int minor = startup.wVersion >> 8;
    if (major < 1 || (major == 1 && minor < 1)) {
        Tell("Windows Sockets Version " + std::to_string(major) + "." + std::to_string(minor) +
                 " is not supported by Windows Sockets for 32 bit Windows environments.",
             ui::MessageIcon::Exclamation);
        sockets_.Cleanup();
        return false;
    }
    if (startup.iMaxSockets < kMinimumSockets) {
        Tell("This application requires a minimum of " + std::to_string(kMinimumSockets) +
                 " supported sockets.",
             ui::MessageIcon::Exclamation);
        sockets_.Cleanup();
        return false;
    }
    return true;
}

void EchoEngine::StopSockets() {
    int result = sockets_.Cleanup();
    if (result != 0) {
        Tell("Windows Sockets error " + std::to_string(result) + " occurred in Cleanup.",
             ui::MessageIcon::Exclamation);
    }
}

void EchoEngine::Tell(const std::string& text, ui::MessageIcon icon) {
    ui::Message message;
    message.text = text;
    message.caption = program_title_;
    message.icon = icon;
    messages_.Show(message);
}

}  // namespace zv::ping
