#include "win32/vigilo/tls_stream.h"

#include <algorithm>
#include <utility>

#include "win32/vigilo/schannel_api.h"
#include "win32/vigilo/tls_certificate.h"

namespace zv::win32 {

namespace {

// What a client asks of every connection. The certificate is checked by
// CheckServerCertificate rather than inside the handshake, so that a failure can say why.
constexpr DWORD kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                ISC_REQ_CONFIDENTIALITY | ISC_REQ_EXTENDED_ERROR |
                                ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                                ISC_REQ_MANUAL_CRED_VALIDATION;

constexpr std::size_t kReadSize = 16 * 1024 + 512;  // one TLS record and its framing

SecBuffer Buffer(unsigned long type, void* data = nullptr, unsigned long size = 0) {
    return SecBuffer{size, type, data};
}

class TlsStream : public ByteStream {
  public:
    explicit TlsStream(std::unique_ptr<ByteStream> plain) : plain_(std::move(plain)) {}
    ~TlsStream() override;

    // The handshake and the certificate check; empty when both passed, otherwise why not.
    std::string Start(const WideText& host_name);

    bool SendAll(const char* data, std::size_t size) override;
    // The records' share of the bytes beneath, in payload: the framing, a few dozen bytes a
    // record, is not goodput.
    int64_t SentSinceFull() const override {
        double share = records_sent_ == 0 ? 0
                                          : static_cast<double>(payload_sent_) /
                                                static_cast<double>(records_sent_);
        return static_cast<int64_t>(static_cast<double>(plain_->SentSinceFull()) * share);
    }
    long Receive(char* data, std::size_t size) override;
    // Ends the connection beneath, which ends a wait in it; the TLS state is left to the
    // thread that uses the stream and to the destructor.
    void Close() override { plain_->Close(); }

  private:
    // Feeds the handshake until it completes, from a first call with no context or from
    // a server's request for more (SEC_I_RENEGOTIATE): SEC_E_OK or the status that ended it.
    SECURITY_STATUS Handshake();
    // One call of InitializeSecurityContextW: the first with no input, later ones with
    // the bytes received so far; its token goes out.
    SECURITY_STATUS HandshakeStep();
    bool SendToken(SecBuffer& token);
    // Reads more encrypted bytes: false when the connection ended or failed.
    bool ReadMore();
    // Keeps only the bytes of received_ that SSPI left unconsumed (the extra buffer, its end).
    void KeepExtra(const SecBuffer& extra);
    // Decrypts the records received so far into plaintext_: DecryptMessage's status, or
    // SEC_E_INCOMPLETE_MESSAGE when more bytes are needed first.
    SECURITY_STATUS DecryptReceived();
    // Decrypts records until some plain bytes are waiting: 1, 0 when the server closed, -1.
    int FillPlaintext();

    SchannelApi api_;
    std::unique_ptr<ByteStream> plain_;
    WideText host_name_;  // sent as the server name indication
    int64_t payload_sent_ = 0;
    int64_t records_sent_ = 0;  // the same payload as it went out, framed
    CredHandle credentials_ = {};
    CtxtHandle context_ = {};
    bool have_credentials_ = false;
    bool have_context_ = false;
    SecPkgContext_StreamSizes sizes_ = {};
    std::string received_;   // encrypted, not yet decrypted
    std::string plaintext_;  // decrypted, not yet handed out
    std::size_t plaintext_taken_ = 0;
    std::string connection_error_;
};

TlsStream::~TlsStream() {
    if (have_context_) {
        api_.sspi->DeleteSecurityContext(&context_);
    }
    if (have_credentials_) {
        api_.sspi->FreeCredentialsHandle(&credentials_);
    }
}

std::string TlsStream::Start(const WideText& host_name) {
    host_name_ = host_name;
    if (!api_.Load()) {
        return "this Windows has no TLS (secur32.dll or crypt32.dll)";
    }
    SCHANNEL_CRED wanted = {};
    wanted.dwVersion = SCHANNEL_CRED_VERSION;
    wanted.dwFlags = SCH_CRED_NO_DEFAULT_CREDS | SCH_CRED_MANUAL_CRED_VALIDATION;
    wchar_t package[] = UNISP_NAME_W;
    SECURITY_STATUS status =
        api_.sspi->AcquireCredentialsHandleW(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr,
                                             &wanted, nullptr, nullptr, &credentials_, nullptr);
    if (status != SEC_E_OK) {
        return TlsFailureText(status);
    }
    have_credentials_ = true;
    status = Handshake();
    if (status != SEC_E_OK) {
        return connection_error_.empty() ? TlsFailureText(status) : connection_error_;
    }
    std::string refused = CheckServerCertificate(api_, &context_, host_name);
    if (!refused.empty()) {
        return refused;
    }
    status = api_.sspi->QueryContextAttributesW(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_);
    return status == SEC_E_OK ? std::string() : TlsFailureText(status);
}

SECURITY_STATUS TlsStream::Handshake() {
    SECURITY_STATUS status = HandshakeStep();
    while (status == SEC_I_CONTINUE_NEEDED || status == SEC_E_INCOMPLETE_MESSAGE) {
        // Bytes the server sent beyond the last step are fed first; otherwise, or when
        // they were not a whole message, more are read.
        bool need_more = received_.empty() || status == SEC_E_INCOMPLETE_MESSAGE;
        if (need_more && !ReadMore()) {
            connection_error_ = received_.compare(0, 5, "HTTP/") == 0
                                    ? "the server answers plain HTTP on this port, not TLS"
                                    : "the server ended the connection during the TLS handshake";
            return SEC_E_INTERNAL_ERROR;
        }
        status = HandshakeStep();
    }
    return status;
}

SECURITY_STATUS TlsStream::HandshakeStep() {
    SecBuffer input[2] = {
        Buffer(SECBUFFER_TOKEN, &received_[0], static_cast<unsigned long>(received_.size())),
        Buffer(SECBUFFER_EMPTY)};
    SecBufferDesc input_list = {SECBUFFER_VERSION, 2, input};
    SecBuffer output = Buffer(SECBUFFER_TOKEN);
    SecBufferDesc output_list = {SECBUFFER_VERSION, 1, &output};
    ULONG granted = 0;
    SECURITY_STATUS status = api_.sspi->InitializeSecurityContextW(
        &credentials_, have_context_ ? &context_ : nullptr, host_name_.data(), kContextFlags, 0, 0,
        have_context_ ? &input_list : nullptr, 0, &context_, &output_list, &granted, nullptr);
    have_context_ = have_context_ || !FAILED(status);
    // A token goes out even with a failure: it may be an alert telling the server why.
    if (!SendToken(output) && !FAILED(status)) {
        connection_error_ = "the server ended the connection during the TLS handshake";
        return SEC_E_INTERNAL_ERROR;
    }
    if (status != SEC_E_INCOMPLETE_MESSAGE) {
        if (input[1].BufferType == SECBUFFER_EXTRA) {
            KeepExtra(input[1]);
        } else {
            received_.clear();
        }
    }
    return status;
}

bool TlsStream::SendToken(SecBuffer& token) {
    if (token.pvBuffer == nullptr) {
        return true;
    }
    bool sent =
        token.cbBuffer == 0 || plain_->SendAll(static_cast<char*>(token.pvBuffer), token.cbBuffer);
    api_.sspi->FreeContextBuffer(token.pvBuffer);
    return sent;
}

bool TlsStream::ReadMore() {
    char chunk[kReadSize];
    long count = plain_->Receive(chunk, sizeof chunk);
    if (count <= 0) {
        return false;
    }
    received_.append(chunk, static_cast<std::size_t>(count));
    return true;
}

void TlsStream::KeepExtra(const SecBuffer& extra) {
    received_.erase(0, received_.size() - std::min<std::size_t>(extra.cbBuffer, received_.size()));
}

bool TlsStream::SendAll(const char* data, std::size_t size) {
    std::string record;
    while (size > 0) {
        std::size_t part = std::min<std::size_t>(size, sizes_.cbMaximumMessage);
        record.assign(sizes_.cbHeader, '\0');
        record.append(data, part);
        record.append(sizes_.cbTrailer, '\0');
        char* start = &record[0];
        SecBuffer buffers[4] = {
            Buffer(SECBUFFER_STREAM_HEADER, start, sizes_.cbHeader),
            Buffer(SECBUFFER_DATA, start + sizes_.cbHeader, static_cast<unsigned long>(part)),
            Buffer(SECBUFFER_STREAM_TRAILER, start + sizes_.cbHeader + part, sizes_.cbTrailer),
            Buffer(SECBUFFER_EMPTY)};
        SecBufferDesc list = {SECBUFFER_VERSION, 4, buffers};
        if (api_.sspi->EncryptMessage(&context_, 0, &list, 0) != SEC_E_OK) {
            return false;
        }
        // The trailer may come out shorter than its room.
        std::size_t length = buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer;
        if (!plain_->SendAll(start, length)) {
            return false;
        }
        payload_sent_ += static_cast<int64_t>(part);
        records_sent_ += static_cast<int64_t>(length);
        data += part;
        size -= part;
    }
    return true;
}

long TlsStream::Receive(char* data, std::size_t size) {
    if (plaintext_taken_ == plaintext_.size()) {
        plaintext_.clear();
        plaintext_taken_ = 0;
        int filled = FillPlaintext();
        if (filled <= 0) {
            return filled;
        }
    }
    std::size_t count = std::min(size, plaintext_.size() - plaintext_taken_);
    std::copy_n(plaintext_.data() + plaintext_taken_, count, data);
    plaintext_taken_ += count;
    return static_cast<long>(count);
}

SECURITY_STATUS TlsStream::DecryptReceived() {
    if (received_.empty()) {
        return SEC_E_INCOMPLETE_MESSAGE;
    }
    SecBuffer buffers[4] = {
        Buffer(SECBUFFER_DATA, &received_[0], static_cast<unsigned long>(received_.size())),
        Buffer(SECBUFFER_EMPTY), Buffer(SECBUFFER_EMPTY), Buffer(SECBUFFER_EMPTY)};
    SecBufferDesc list = {SECBUFFER_VERSION, 4, buffers};
    SECURITY_STATUS status = api_.sspi->DecryptMessage(&context_, &list, 0, nullptr);
    if (status == SEC_E_INCOMPLETE_MESSAGE) {
        return status;
    }
    const SecBuffer* extra = nullptr;
    for (const SecBuffer& buffer : buffers) {
        if (buffer.BufferType == SECBUFFER_DATA) {
            plaintext_.append(static_cast<char*>(buffer.pvBuffer), buffer.cbBuffer);
        } else if (buffer.BufferType == SECBUFFER_EXTRA) {
            extra = &buffer;
        }
    }
    if (extra != nullptr) {
        KeepExtra(*extra);
    } else {
        received_.clear();
    }
    return status;
}

int TlsStream::FillPlaintext() {
    while (plaintext_.empty()) {
        SECURITY_STATUS status = DecryptReceived();
        if (status == SEC_I_CONTEXT_EXPIRED) {  // the server's close_notify
            return plaintext_.empty() ? 0 : 1;
        }
        // The server asks for more handshake (TLS 1.3's messages after the handshake come
        // so on Windows 11): the bytes after its request feed the handshake.
        if (status == SEC_I_RENEGOTIATE && Handshake() != SEC_E_OK) {
            return -1;
        }
        if (status == SEC_E_INCOMPLETE_MESSAGE && !ReadMore()) {
            // A connection that ends between records ends the stream; within one, it failed.
            return received_.empty() ? 0 : -1;
        }
        if (status != SEC_E_OK && status != SEC_I_RENEGOTIATE &&
            status != SEC_E_INCOMPLETE_MESSAGE) {
            return -1;
        }
    }
    return 1;
}

}  // namespace

std::unique_ptr<ByteStream> StartTls(std::unique_ptr<ByteStream> plain_tcp,
                                     const WideText& host_name, std::string& error) {
    auto stream = std::make_unique<TlsStream>(std::move(plain_tcp));
    std::string failure = stream->Start(host_name);
    if (!failure.empty()) {
        error = "TLS with the server failed: " + failure;
        return nullptr;
    }
    error.clear();
    return stream;
}

}  // namespace zv::win32
