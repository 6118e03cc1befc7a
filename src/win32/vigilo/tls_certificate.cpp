#include "win32/vigilo/tls_certificate.h"

#include <cstdio>

namespace zv::win32 {

namespace {

struct FailureReason {
    long code;
    const char* text;
};

// The codes a handshake or a certificate check gives most often (winerror.h).
constexpr FailureReason kReasons[] = {
    {static_cast<long>(CERT_E_UNTRUSTEDROOT),
     "the server's certificate comes from an authority this Windows does not trust"},
    {static_cast<long>(SEC_E_UNTRUSTED_ROOT),
     "the server's certificate comes from an authority this Windows does not trust"},
    {static_cast<long>(CERT_E_CHAINING),
     "the server's certificate does not lead to an authority this Windows knows"},
    {static_cast<long>(CERT_E_CN_NO_MATCH), "the server's certificate is made out to another name"},
    {static_cast<long>(SEC_E_WRONG_PRINCIPAL),
     "the server's certificate is made out to another name"},
    {static_cast<long>(CERT_E_EXPIRED), "the server's certificate has expired or is not valid yet"},
    {static_cast<long>(SEC_E_CERT_EXPIRED),
     "the server's certificate has expired or is not valid yet"},
    {static_cast<long>(CERT_E_WRONG_USAGE), "the server's certificate is not meant for a server"},
    {static_cast<long>(CERT_E_REVOKED), "the server's certificate has been revoked"},
    {static_cast<long>(TRUST_E_CERT_SIGNATURE), "the server's certificate has a bad signature"},
    {static_cast<long>(SEC_E_ALGORITHM_MISMATCH),
     "this Windows and the server have no TLS version or cipher in common"},
    {static_cast<long>(SEC_E_ILLEGAL_MESSAGE), "the server's answer is not TLS"},
    {static_cast<long>(SEC_E_INCOMPLETE_CREDENTIALS), "the server asks for a client certificate"},
    {static_cast<long>(SEC_I_INCOMPLETE_CREDENTIALS), "the server asks for a client certificate"},
    {static_cast<long>(SEC_E_SECPKG_NOT_FOUND), "this Windows has no TLS"},
    {static_cast<long>(SEC_E_DECRYPT_FAILURE), "a TLS record did not decrypt"},
    {static_cast<long>(SEC_E_MESSAGE_ALTERED), "a TLS record was altered on the way"},
};

}  // namespace

std::string TlsFailureText(long code) {
    const char* text = "TLS failed";
    for (const FailureReason& reason : kReasons) {
        if (reason.code == code) {
            text = reason.text;
            break;
        }
    }
    char number[16];
    std::snprintf(number, sizeof number, "%08lX", static_cast<unsigned long>(code));
    return std::string(text) + " (0x" + number + ")";
}

std::string CheckServerCertificate(const SchannelApi& api, CtxtHandle* context,
                                   const WideText& host_name) {
    PCCERT_CONTEXT certificate = nullptr;
    if (api.sspi->QueryContextAttributesW(context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) !=
            SEC_E_OK ||
        certificate == nullptr) {
        return "the server sent no certificate";
    }
    char server_auth[] = szOID_PKIX_KP_SERVER_AUTH;
    LPSTR usages[] = {server_auth};
    CERT_CHAIN_PARA chain_para = {};
    chain_para.cbSize = sizeof chain_para;
    chain_para.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    chain_para.RequestedUsage.Usage.cUsageIdentifier = 1;
    chain_para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    // The certificates the server sent beside its own help build the chain.
    bool built = api.get_chain(nullptr, certificate, nullptr, certificate->hCertStore, &chain_para,
                               0, nullptr, &chain);
    api.free_certificate(certificate);
    if (!built) {
        return TlsFailureText(static_cast<long>(GetLastError()));
    }
    WideText name = host_name;
    HTTPSPolicyCallbackData https = {};
    https.cbStruct = sizeof https;
    https.dwAuthType = AUTHTYPE_SERVER;
    https.pwszServerName = name.data();
    CERT_CHAIN_POLICY_PARA policy = {};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &https;
    CERT_CHAIN_POLICY_STATUS status = {};
    status.cbSize = sizeof status;
    bool checked = api.verify_chain_policy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status);
    api.free_chain(chain);
    if (!checked) {
        return "the server's certificate could not be checked";
    }
    return status.dwError == 0 ? std::string() : TlsFailureText(static_cast<long>(status.dwError));
}

}  // namespace zv::win32
