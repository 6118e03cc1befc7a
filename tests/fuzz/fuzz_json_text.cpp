// The JSON reader of the responsiveness test (its server's configuration, its results):
// a value tree drawn from the input and written by this target's own writer (spread with
// white space, every character of a string as \u escape or itself) reads back as the same
// tree; and for any bytes, what the reader takes writes back to text it reads as the same
// value, and a configuration it takes names three URLs that parse.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <string>

#include "fuzz_check.h"
#include "monitor/json_text.h"
#include "monitor/rpm_server.h"

namespace {

using zv::monitor::json::Value;

std::string Escaped(const std::string& text, FuzzedDataProvider& input) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c < 0x20 || c == '"' || c == '\\' || input.ConsumeBool()) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// A tree of at most `depth` levels and its text, drawn together.
Value Draw(FuzzedDataProvider& input, int depth, std::string& text) {
    Value value;
    int kind = input.ConsumeIntegralInRange(0, depth > 0 ? 5 : 3);
    std::string space(input.ConsumeIntegralInRange(0, 2), ' ');
    text += space;
    if (kind == 0) {
        text += "null";
    } else if (kind == 1) {
        value.kind = Value::Kind::Bool;
        value.boolean = input.ConsumeBool();
        text += value.boolean ? "true" : "false";
    } else if (kind == 2) {
        value.kind = Value::Kind::Number;
        value.number = input.ConsumeIntegralInRange(-100000, 100000) / 8.0;
        char number[40];
        std::snprintf(number, sizeof number, "%.3f", value.number);
        text += number;
    } else if (kind == 3) {
        value.kind = Value::Kind::String;
        value.text = input.ConsumeRandomLengthString(12);
        for (char& c : value.text) {
            c = static_cast<char>(static_cast<unsigned char>(c) & 0x7f);
        }
        text += Escaped(value.text, input);
    } else {
        value.kind = kind == 4 ? Value::Kind::Array : Value::Kind::Object;
        text += kind == 4 ? "[" : "{";
        int count = input.ConsumeIntegralInRange(0, 3);
        for (int i = 0; i < count; ++i) {
            text += i > 0 ? " ," : "";
            if (kind == 4) {
                value.items.push_back(Draw(input, depth - 1, text));
                continue;
            }
            std::string name = "k" + std::to_string(i);
            text += Escaped(name, input) + " :";
            value.members.emplace_back(name, Draw(input, depth - 1, text));
        }
        text += kind == 4 ? "]" : "}";
    }
    text += space;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        std::string text;
        Value model = Draw(input, 4, text);
        std::optional<Value> read = zv::monitor::json::Parse(text);
        FUZZ_CHECK(read.has_value(), zv::fuzz::Escape(text));
        FUZZ_CHECK(*read == model, zv::fuzz::Escape(text));
        return 0;
    }
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    if (std::optional<Value> read = zv::monitor::json::Parse(bytes)) {
        std::string written = zv::monitor::json::Write(*read);
        std::optional<Value> again = zv::monitor::json::Parse(written);
        FUZZ_CHECK(again.has_value() && *again == *read, zv::fuzz::Escape(written));
    }
    zv::monitor::rpm::ConfigAnswer config = zv::monitor::rpm::ReadConfig(bytes);
    FUZZ_CHECK(config.urls.has_value() == config.problem.empty());
    if (config.urls) {
        for (const auto* url : {&config.urls->small, &config.urls->large, &config.urls->upload}) {
            FUZZ_CHECK(!url->host.empty() && url->port >= 1 && url->port <= 65535, url->host);
            FUZZ_CHECK(url->path[0] == '/', url->path);
        }
    }
    return 0;
}
