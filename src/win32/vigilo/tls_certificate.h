// The server's certificate checked as Windows checks a web server's, and the reasons a TLS
// connection fails told in words.
#pragma once

#include <string>

#include "win32/platform/wide_text.h"
#include "win32/vigilo/schannel_api.h"

namespace zv::win32 {

// Checks the certificate the server sent in the handshake of `context`: a chain to a
// trusted root, made out to `host_name`, valid now, for server authentication (Windows'
// SSL chain policy). Empty when it passed, otherwise why not.
std::string CheckServerCertificate(const SchannelApi& api, CtxtHandle* context,
                                   const WideText& host_name);

// The reason behind an SSPI status or a certificate check's error, with its code:
// "the server's certificate has expired (0x800B0101)".
std::string TlsFailureText(long code);

}  // namespace zv::win32
