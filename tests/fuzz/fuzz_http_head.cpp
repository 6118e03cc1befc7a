// The head of an HTTP reply the responsiveness test reads from its server. A head drawn
// from the input and written here (status, headers in any case and spacing, a length or
// none) reads as drawn, whatever follows it; any bytes either wait for more, are refused,
// or give a head that ends with its blank line within the bytes and the size limit.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz_check.h"
#include "monitor/http_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    using namespace zv::monitor::rpm;
    ReplyHead head;
    if (input.ConsumeBool()) {
        int status = input.ConsumeIntegralInRange(100, 599);
        bool has_length = input.ConsumeBool();
        int64_t length = input.ConsumeIntegralInRange<int64_t>(0, 1LL << 40);
        bool closes = input.ConsumeBool();
        std::string text = "HTTP/1.1 " + std::to_string(status) + " Some Reason\r\n";
        int others = input.ConsumeIntegralInRange(0, 5);
        for (int i = 0; i < others; ++i) {
            text += "X-Other-" + std::to_string(i) + ":" +
                    std::string(input.ConsumeIntegralInRange(0, 3), ' ') + "value\r\n";
        }
        if (has_length) {
            text += (input.ConsumeBool() ? "content-LENGTH: " : "Content-Length:") +
                    std::to_string(length) + "\r\n";
        }
        text += closes ? "Connection: Close\r\n" : "Connection: keep-alive\r\n";
        text += "\r\n" + input.ConsumeRemainingBytesAsString();
        FUZZ_CHECK(ReadReplyHead(text, head) == HeadState::Complete, zv::fuzz::Escape(text));
        FUZZ_CHECK(head.status == status && head.closes == closes);
        FUZZ_CHECK(head.content_length.has_value() == has_length &&
                   (!has_length || *head.content_length == length));
        return 0;
    }
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    if (ReadReplyHead(bytes, head) == HeadState::Complete) {
        FUZZ_CHECK(head.head_bytes <= bytes.size() && head.head_bytes <= kMaxHeadBytes);
        FUZZ_CHECK(bytes.compare(head.head_bytes - 4, 4, "\r\n\r\n") == 0, zv::fuzz::Escape(bytes));
        FUZZ_CHECK(head.status >= 0 && head.status <= 999 && head.content_length.value_or(0) >= 0);
    }
    return 0;
}
