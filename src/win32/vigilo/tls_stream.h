// TLS over an open connection with the system's own TLS (Schannel, through SSPI), so that
// the responsiveness test can use HTTPS servers without a TLS library of its own.
#pragma once

#include <memory>
#include <string>

#include "win32/platform/wide_text.h"
#include "win32/vigilo/byte_stream.h"

namespace zv::win32 {

// Runs the TLS handshake with the server named `host_name` over `plain_tcp` and checks
// its certificate as Windows checks a web server's: a chain to a root this Windows trusts,
// made out to that name, valid today, for server authentication. The name goes out as the
// server name indication where Windows sends one (Vista and later). The stream returned
// sends and receives through TLS and ends with the connection; on failure it is null and
// `error` says what went wrong ("the server's certificate is made out to another name").
std::unique_ptr<ByteStream> StartTls(std::unique_ptr<ByteStream> plain_tcp,
                                     const WideText& host_name, std::string& error);

}  // namespace zv::win32
