#include "win32/vigilo/schannel_api.h"

namespace zv::win32 {

SchannelApi::SchannelApi() : secur32_("secur32.dll"), crypt32_("crypt32.dll") {}

bool SchannelApi::Load() {
    using InitSecurityInterfaceFn = PSecurityFunctionTableW(WINAPI*)();
    auto init = secur32_.Function<InitSecurityInterfaceFn>("InitSecurityInterfaceW");
    sspi = init != nullptr ? init() : nullptr;
    return sspi != nullptr &&
           crypt32_.FindAll(get_chain, "CertGetCertificateChain", verify_chain_policy,
                            "CertVerifyCertificateChainPolicy", free_chain,
                            "CertFreeCertificateChain", free_certificate,
                            "CertFreeCertificateContext");
}

}  // namespace zv::win32
