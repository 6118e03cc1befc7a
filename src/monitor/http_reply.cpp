#include "monitor/http_reply.h"

#include <cctype>

namespace zv::monitor::rpm {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

bool TakeLength(const std::string& value, ReplyHead& head) {
    if (head.content_length || value.empty() || value.size() > 18 ||
        value.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    head.content_length = std::stoll(value);
    return true;
}

bool TakeHeader(const std::string& line, ReplyHead& head) {
    size_t colon = line.find(':');
    if (colon == 0 || colon == std::string::npos || line.find_first_of(" \t") < colon) {
        return false;
    }
    std::string name = Lower(line.substr(0, colon));
    std::string value = Trimmed(line.substr(colon + 1));
    if (name == "content-length") {
        return TakeLength(value, head);
    }
    if (name == "transfer-encoding") {
        head.chunked = Lower(value).find("chunked") != std::string::npos;
    } else if (name == "connection") {
        head.closes = head.closes || Lower(value).find("close") != std::string::npos;
    }
    return true;
}

bool TakeStatusLine(const std::string& line, ReplyHead& head) {
    if (line.size() < 12 || line.compare(0, 7, "HTTP/1.") != 0 || line[8] != ' ' ||
        !std::isdigit(static_cast<unsigned char>(line[7])) ||
        (line.size() > 12 && line[12] != ' ')) {
        return false;
    }
    for (int i = 9; i < 12; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(line[static_cast<size_t>(i)]))) {
            return false;
        }
    }
    head.status = std::stoi(line.substr(9, 3));
    head.closes = line[7] == '0';  // HTTP/1.0 closes unless told otherwise
    return true;
}

}  // namespace

std::string GetRequest(const Url& url) {
    return "GET " + url.path + " HTTP/1.1\r\nHost: " + url.Authority() +
           "\r\nUser-Agent: Vigilo\r\nAccept: */*\r\n\r\n";
}

std::string UploadRequest(const Url& url, int64_t length) {
    return "POST " + url.path + " HTTP/1.1\r\nHost: " + url.Authority() +
           "\r\nUser-Agent: Vigilo\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
           std::to_string(length) + "\r\n\r\n";
}

HeadState ReadReplyHead(const std::string& received, ReplyHead& head) {
    size_t end = received.find("\r\n\r\n");
    if (end == std::string::npos || end + 4 > kMaxHeadBytes) {
        return received.size() < kMaxHeadBytes ? HeadState::Incomplete : HeadState::Malformed;
    }
    head = ReplyHead();
    head.head_bytes = end + 4;
    size_t line_start = 0;
    bool first = true;
    while (line_start < end) {
        size_t line_end = received.find("\r\n", line_start);
        std::string line = received.substr(line_start, line_end - line_start);
        if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos ||
            !(first ? TakeStatusLine(line, head) : TakeHeader(line, head))) {
            return HeadState::Malformed;
        }
        first = false;
        line_start = line_end + 2;
    }
    return first ? HeadState::Malformed : HeadState::Complete;
}

}  // namespace zv::monitor::rpm
