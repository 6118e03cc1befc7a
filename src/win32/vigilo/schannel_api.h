// The functions of the system's TLS (Schannel through SSPI) and of its certificate checks,
// looked up at run time in secur32.dll and crypt32.dll from the system folder: neither is
// imported, so a copy of the same name beside the program is never loaded.
#pragma once

#include <windows.h>
#define SECURITY_WIN32
#include <schannel.h>
#include <security.h>
#include <wincrypt.h>

#include "win32/platform/system_library.h"

namespace zv::win32 {

class SchannelApi {
  public:
    SchannelApi();
    // True when every function was found (Windows 2000 and later have them all).
    bool Load();

    // SSPI's table: AcquireCredentialsHandleW, InitializeSecurityContextW, EncryptMessage, ...
    const SecurityFunctionTableW* sspi = nullptr;
    decltype(&CertGetCertificateChain) get_chain = nullptr;
    decltype(&CertVerifyCertificateChainPolicy) verify_chain_policy = nullptr;
    decltype(&CertFreeCertificateChain) free_chain = nullptr;
    decltype(&CertFreeCertificateContext) free_certificate = nullptr;

  private:
    SystemLibrary secur32_;
    SystemLibrary crypt32_;
};

}  // namespace zv::win32
