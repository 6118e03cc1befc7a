// Where a responsiveness test goes: the server the user chose, as a base URL whose small,
// large and upload resources the test adds ("http://nq.example.net" -> /small, /large,
// /upload, as README's nginx configuration serves them), or a configuration URL ending in
// /.well-known/nq whose JSON answer names the three URLs, as the draft describes it.
#pragma once

#include <optional>
#include <string>

namespace zv::monitor::rpm {

inline constexpr char kConfigPath[] = "/.well-known/nq";

struct Url {
    bool tls = false;  // https
    std::string host;  // a name, an IPv4 address or an IPv6 address without brackets
    int port = 80;
    std::string path = "/";  // with the query, if any
    // "host:port" as a Host header carries it (brackets around IPv6, port only when not
    // the scheme's own).
    std::string Authority() const;
};

// An http or https URL with a host; nothing for anything else (user names, fragments,
// other schemes, ports outside 1-65535, spaces or control characters).
std::optional<Url> ParseUrl(const std::string& text);

struct TestUrls {
    Url small;
    Url large;
    Url upload;
};

// What the user typed: the URLs, a configuration URL still to be fetched, or the reason
// it is refused.
struct ServerChoice {
    std::optional<TestUrls> urls;
    std::optional<Url> config;
    std::string problem;  // empty when taken
};
ServerChoice ChooseServer(const std::string& text);

// The three URLs a configuration names (version 1; under the key names of the draft's
// revision 04 and later, or else those of the earlier ones, "small_https_download_url"...),
// or the reason it is refused.
struct ConfigAnswer {
    std::optional<TestUrls> urls;
    std::string problem;
};
ConfigAnswer ReadConfig(const std::string& json_text);

}  // namespace zv::monitor::rpm
