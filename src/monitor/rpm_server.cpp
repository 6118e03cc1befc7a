#include "monitor/rpm_server.h"

#include <cctype>

#include "monitor/json_text.h"

namespace zv::monitor::rpm {
namespace {

bool Printable(const std::string& text) {
    for (unsigned char c : text) {
        if (c <= 0x20 || c >= 0x7f) {
            return false;
        }
    }
    return true;
}

bool TakeScheme(std::string& rest, Url& url) {
    std::string lower;
    for (char c : rest.substr(0, 8)) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (lower.rfind("http://", 0) == 0) {
        rest.erase(0, 7);
        return true;
    }
    if (lower.rfind("https://", 0) == 0) {
        rest.erase(0, 8);
        url.tls = true;
        url.port = 443;
        return true;
    }
    return false;
}

bool TakePort(const std::string& digits, Url& url) {
    if (digits.empty() || digits.size() > 5) {
        return false;
    }
    int port = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        port = port * 10 + (c - '0');
    }
    url.port = port;
    return port >= 1 && port <= 65535;
}

// "[v6]:port", "[v6]", "name:port" or "name".
bool TakeAuthority(const std::string& authority, Url& url) {
    std::string port;
    if (!authority.empty() && authority[0] == '[') {
        size_t close = authority.find(']');
        if (close == std::string::npos) {
            return false;
        }
        url.host = authority.substr(1, close - 1);
        std::string after = authority.substr(close + 1);
        if (!after.empty() && (after[0] != ':' || !TakePort(after.substr(1), url))) {
            return false;
        }
        return !url.host.empty() &&
               url.host.find_first_not_of("0123456789abcdefABCDEF:.") == std::string::npos;
    }
    size_t colon = authority.find(':');
    url.host = authority.substr(0, colon);
    if (colon != std::string::npos && !TakePort(authority.substr(colon + 1), url)) {
        return false;
    }
    for (char c : url.host) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.' && c != '_') {
            return false;
        }
    }
    return !url.host.empty();
}

Url Resource(const Url& base, const char* name) {
    Url url = base;
    std::string path = base.path;
    if (!path.empty() && path.back() == '/') {
        path.pop_back();
    }
    url.path = path + "/" + name;
    return url;
}

}  // namespace

std::string Url::Authority() const {
    std::string name = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    return port == (tls ? 443 : 80) ? name : name + ":" + std::to_string(port);
}

std::optional<Url> ParseUrl(const std::string& text) {
    Url url;
    std::string rest = text;
    if (!Printable(text) || text.find('#') != std::string::npos || !TakeScheme(rest, url)) {
        return std::nullopt;
    }
    size_t slash = rest.find_first_of("/?");
    std::string authority = rest.substr(0, slash);
    if (authority.find('@') != std::string::npos || !TakeAuthority(authority, url)) {
        return std::nullopt;
    }
    if (slash != std::string::npos) {
        url.path = (rest[slash] == '?' ? "/" : "") + rest.substr(slash);
    }
    return url;
}

ServerChoice ChooseServer(const std::string& text) {
    ServerChoice choice;
    std::string trimmed = text;
    while (!trimmed.empty() && std::isspace(static_cast<unsigned char>(trimmed.back()))) {
        trimmed.pop_back();
    }
    trimmed.erase(0, trimmed.find_first_not_of(" \t"));
    std::optional<Url> url = ParseUrl(trimmed);
    if (!url) {
        choice.problem = trimmed.empty() ? "Enter the test server's address, for example "
                                           "http://nq.example.net or "
                                           "https://nq.example.net/.well-known/nq."
                                         : "\"" + trimmed + "\" is no http or https address.";
        return choice;
    }
    if (url->path == kConfigPath) {
        choice.config = url;
        return choice;
    }
    choice.urls =
        TestUrls{Resource(*url, "small"), Resource(*url, "large"), Resource(*url, "upload")};
    return choice;
}

ConfigAnswer ReadConfig(const std::string& json_text) {
    ConfigAnswer answer;
    std::optional<json::Value> config = json::Parse(json_text);
    const json::Value* urls = config ? config->Find("urls") : nullptr;
    if (!config || config->NumberOf("version") != 1.0 || urls == nullptr) {
        answer.problem = "The server's configuration is not version 1 of the test's JSON.";
        return answer;
    }
    auto pick = [&urls](const char* name, const char* earlier_name) {
        std::optional<std::string> text = urls->TextOf(name);
        return ParseUrl(text ? *text : urls->TextOf(earlier_name).value_or(""));
    };
    std::optional<Url> small = pick("small_download_url", "small_https_download_url");
    std::optional<Url> large = pick("large_download_url", "large_https_download_url");
    std::optional<Url> upload = pick("upload_url", "https_upload_url");
    if (!small || !large || !upload) {
        answer.problem = "The server's configuration lacks a small, large or upload URL.";
        return answer;
    }
    answer.urls = TestUrls{*small, *large, *upload};
    return answer;
}

}  // namespace zv::monitor::rpm
