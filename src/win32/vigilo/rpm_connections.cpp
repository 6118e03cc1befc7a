#include "win32/vigilo/rpm_connections.h"

#include <algorithm>

#include "monitor/http_reply.h"
#include "win32/platform/wide_text.h"
#include "win32/vigilo/tls_stream.h"

namespace zv::win32 {
namespace {

using monitor::rpm::ReplyHead;
using monitor::rpm::Url;

constexpr std::size_t kKeptBody = 65536;

// Reads a reply to the end of its body: its length, or the connection's close when it has
// none. Body bytes go to `count` as they come (which may stop the read by returning false);
// up to kKeptBody of them into `body`. False on a failure, a malformed head, a chunked body
// or a status other than 2xx.
template <typename Count>
bool ReadReply(ByteStream& stream, std::string* body, const Count& count) {
    std::string received;
    ReplyHead head;
    char buffer[65536];
    monitor::rpm::HeadState state = monitor::rpm::HeadState::Incomplete;
    while (state == monitor::rpm::HeadState::Incomplete) {
        long got = stream.Receive(buffer, sizeof buffer);
        if (got <= 0) {
            return false;
        }
        received.append(buffer, static_cast<std::size_t>(got));
        state = monitor::rpm::ReadReplyHead(received, head);
    }
    if (state != monitor::rpm::HeadState::Complete || head.chunked || head.status / 100 != 2) {
        return false;
    }
    int64_t left = head.content_length.value_or(INT64_MAX);
    auto take = [&](const char* data, int64_t size) {
        size = std::min(size, left);
        left -= size;
        if (body != nullptr && body->size() < kKeptBody) {
            body->append(
                data, static_cast<std::size_t>(std::min<int64_t>(size, kKeptBody - body->size())));
        }
        return count(size);
    };
    if (!take(received.data() + head.head_bytes,
              static_cast<int64_t>(received.size() - head.head_bytes))) {
        return false;
    }
    while (left > 0) {
        long got = stream.Receive(buffer, sizeof buffer);
        if (got <= 0) {
            return got == 0 && !head.content_length;
        }
        if (!take(buffer, got)) {
            return false;
        }
    }
    return true;
}

bool Send(ByteStream& stream, const std::string& text) {
    return stream.SendAll(text.data(), text.size());
}

}  // namespace

void RpmShared::CloseAll(bool loads_only) {
    Hold hold(lock);
    for (const auto& [stream, load] : open) {
        if (load || !loads_only) {
            stream->Close();
        }
    }
}

void RpmShared::Note(const std::string& error) {
    Hold hold(lock);
    if (first_error.empty()) {
        first_error = error;
    }
}

// An https URL's plain stream is wrapped in TLS, its handshake timed apart.
TrackedStream::TrackedStream(RpmShared& shared, const Url& url, bool load) : shared_(shared) {
    TcpSockets::Opened opened =
        shared.sockets.Connect(url.host, url.port, kRpmIoTimeoutMs, shared.cancelled);
    if (opened.stream && url.tls) {
        double start = PreciseNowMs();
        opened.stream = StartTls(std::move(opened.stream), WideFromUtf8(url.host), opened.error);
        tls_ms_ = PreciseNowMs() - start;
    }
    if (!opened.stream) {
        shared.Note(opened.error);
        return;
    }
    connect_ms_ = opened.connect_ms;
    shared.ipv6.store(opened.ipv6);
    stream_ = std::move(opened.stream);
    Hold hold(shared.lock);
    shared.open.emplace_back(stream_, load);
    if (shared.cancelled.load()) {
        stream_->Close();
    }
}

TrackedStream::~TrackedStream() {
    if (stream_) {
        Hold hold(shared_.lock);
        shared_.open.erase(
            std::find_if(shared_.open.begin(), shared_.open.end(),
                         [this](const auto& entry) { return entry.first == stream_; }));
    }
}

void RunProbe(RpmShared& shared, const Url& small, monitor::rpm::Phase phase) {
    monitor::rpm::ProbeSample sample;
    sample.phase = phase;
    {
        TrackedStream stream(shared, small, false);
        if (stream.get() != nullptr) {
            double sent = PreciseNowMs();
            sample.answered = Send(*stream.get(), monitor::rpm::GetRequest(small)) &&
                              ReadReply(*stream.get(), nullptr, [](int64_t) { return true; });
            sample.ms = {stream.connect_ms(), stream.tls_ms(), PreciseNowMs() - sent};
        }
    }
    Hold hold(shared.lock);
    shared.finished.push_back(sample);
}

void RunDownload(RpmShared& shared, const Url& large, int generation) {
    auto current = [&shared, generation] {
        return shared.generation.load() == generation && !shared.cancelled.load();
    };
    auto count = [&shared, &current](int64_t size) {
        if (current()) {
            shared.bytes += size;
        }
        return current();
    };
    while (current()) {
        TrackedStream stream(shared, large, true);
        if (stream.get() == nullptr) {
            return;
        }
        while (current() && Send(*stream.get(), monitor::rpm::GetRequest(large)) &&
               ReadReply(*stream.get(), nullptr, count)) {
        }
    }
}

void RunUpload(RpmShared& shared, const Url& upload, int generation, int64_t cap) {
    TrackedStream stream(shared, upload, true);
    if (stream.get() == nullptr || !Send(*stream.get(), monitor::rpm::UploadRequest(upload, cap))) {
        return;
    }
    static const std::string kZeros(65536, '\0');
    int64_t counted = 0;
    for (int64_t left = cap;
         left > 0 && shared.generation.load() == generation && !shared.cancelled.load();) {
        std::size_t size =
            static_cast<std::size_t>(std::min<int64_t>(left, static_cast<int64_t>(kZeros.size())));
        if (!stream.get()->SendAll(kZeros.data(), size)) {
            return;
        }
        left -= static_cast<int64_t>(size);
        int64_t delivered = stream.get()->SentSinceFull();
        if (shared.generation.load() == generation) {
            shared.bytes += delivered - counted;
        }
        counted = delivered;
    }
}

std::optional<std::string> FetchText(RpmShared& shared, const Url& url) {
    TrackedStream stream(shared, url, false);
    std::string body;
    if (stream.get() == nullptr) {
        return std::nullopt;
    }
    if (!Send(*stream.get(), monitor::rpm::GetRequest(url)) ||
        !ReadReply(*stream.get(), &body, [](int64_t) { return true; })) {
        shared.Note("The server did not send its configuration (" + url.host + url.path + ").");
        return std::nullopt;
    }
    return body;
}

}  // namespace zv::win32
