#include "monitor/probe_record.h"

#include <array>

namespace zv::monitor {
namespace {

// The flags byte.
constexpr uint8_t kLostFlag = 0x01;
constexpr uint8_t kTcpFlag = 0x02;
constexpr uint8_t kProxyFlag = 0x04;
constexpr uint8_t kNameFailedFlag = 0x08;
constexpr int kWhereShift = 4;  // two bits
constexpr uint8_t kExtraFlag = 0x40;
constexpr uint8_t kBusyFlag = 0x80;
// The fields-present byte.
constexpr uint8_t kHostField = 0x01;
constexpr uint8_t kOffsetField = 0x02;
constexpr uint8_t kLoadField = 0x04;

constexpr std::array<uint32_t, 256> CrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = CrcTable();

void PutVarint(std::string& out, uint64_t value) {
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

void PutSigned(std::string& out, int64_t value) {
    PutVarint(out, (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63));
}

// Reads the bytes of one record; any read past its end marks it bad.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool done() const { return at_ >= bytes_.size(); }
    std::size_t at() const { return at_; }

    uint8_t Byte() {
        if (done()) {
            ok_ = false;
            return 0;
        }
        return static_cast<uint8_t>(bytes_[at_++]);
    }
    uint64_t Varint() {
        uint64_t value = 0;
        for (int shift = 0; shift < 64 && ok_; shift += 7) {
            uint8_t b = Byte();
            value |= uint64_t{b & 0x7Fu} << shift;
            if (!(b & 0x80)) {
                return value;
            }
        }
        ok_ = false;
        return 0;
    }
    int64_t Signed() {
        uint64_t v = Varint();
        return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
    }
    std::string Text(std::size_t length) {
        if (length > bytes_.size() - std::min(at_, bytes_.size())) {
            ok_ = false;
            return "";
        }
        std::string text(bytes_.substr(at_, length));
        at_ += length;
        return text;
    }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::string Fields(const StoredProbe& stored, RecordContext& context) {
    const Probe& p = stored.probe;
    int64_t skew = p.time.utc_ms - stored.order_ms;
    uint8_t flags = (p.lost() ? kLostFlag : 0) | (p.via_tcp ? kTcpFlag : 0) |
                    (p.may_be_proxy ? kProxyFlag : 0) | (p.name_failed ? kNameFailedFlag : 0) |
                    static_cast<uint8_t>(static_cast<int>(p.where) << kWhereShift) |
                    (p.extra ? kExtraFlag : 0) | (p.load.busy ? kBusyFlag : 0);
    uint8_t present =
        (context.first || p.host != context.host ? kHostField : 0) |
        (context.first || p.time.offset_min != context.offset_min ? kOffsetField : 0) |
        (p.load.known ? kLoadField : 0);
    std::string out;
    out += static_cast<char>(flags);
    out += static_cast<char>(present);
    PutVarint(out, static_cast<uint64_t>(stored.order_ms - context.order_ms));
    PutSigned(out, skew - context.skew_ms);
    if (!p.lost()) {
        PutVarint(out, static_cast<uint64_t>(p.round_trip_ms));
    }
    if (present & kOffsetField) {
        PutSigned(out, p.time.offset_min);
    }
    if (present & kHostField) {
        PutVarint(out, p.host.size());
        out += p.host;
    }
    if (present & kLoadField) {
        PutVarint(out, p.load.receive_kbps);
        PutVarint(out, p.load.send_kbps);
        out += static_cast<char>(p.load.percent);
    }
    context = {false, stored.order_ms, skew, p.time.offset_min, p.host};
    return out;
}

// The record's fields over the context, which moves on to it; false for a record that does
// not hold together, which leaves the context as it was.
bool ReadFields(std::string_view bytes, RecordContext& context, StoredProbe& stored) {
    Reader in(bytes);
    uint8_t flags = in.Byte();
    uint8_t present = in.Byte();
    uint64_t step = in.Varint();
    int64_t skew = context.skew_ms + in.Signed();
    Probe& p = stored.probe;
    p.round_trip_ms = (flags & kLostFlag) ? kLost : static_cast<int32_t>(in.Varint() & 0x7FFFFFFF);
    p.via_tcp = flags & kTcpFlag;
    p.may_be_proxy = flags & kProxyFlag;
    p.name_failed = flags & kNameFailedFlag;
    p.where = static_cast<Where>((flags >> kWhereShift) & 3);
    p.time.offset_min =
        (present & kOffsetField) ? static_cast<int>(in.Signed()) : context.offset_min;
    if (present & kHostField) {
        p.host = in.Text(in.Varint());
    } else {
        p.host.assign(context.host);
    }
    p.extra = flags & kExtraFlag;
    p.load = {};
    p.load.busy = flags & kBusyFlag;
    if (present & kLoadField) {
        p.load.known = true;
        p.load.receive_kbps = static_cast<uint32_t>(in.Varint());
        p.load.send_kbps = static_cast<uint32_t>(in.Varint());
        p.load.percent = in.Byte();
    }
    if (!in.ok() || (context.first && !(present & kHostField && present & kOffsetField)) ||
        step > (uint64_t{1} << 62)) {
        return false;
    }
    stored.order_ms = context.order_ms + static_cast<int64_t>(step);
    p.time.utc_ms = stored.order_ms + skew;
    context.first = false;
    context.order_ms = stored.order_ms;
    context.skew_ms = skew;
    context.offset_min = p.time.offset_min;
    if (present & kHostField) {
        context.host = p.host;
    }
    return true;
}

}  // namespace

uint32_t Crc32(std::string_view bytes) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::string EncodeRecord(const StoredProbe& stored, RecordContext& context) {
    std::string fields = Fields(stored, context);
    std::string frame;
    PutVarint(frame, fields.size());
    frame += fields;
    uint32_t crc = Crc32(frame);
    for (int i = 0; i < 4; ++i) {
        frame += static_cast<char>(crc >> (8 * i));
    }
    return frame;
}

void DecodeRecord(std::string_view bytes, std::size_t at, RecordContext& context,
                  DecodedFrame& frame) {
    frame.check = FrameCheck::Bad;
    Reader head(bytes.substr(at, 2));
    uint64_t length = head.Varint();
    if (!head.ok() || length == 0 || length > kMaxRecordBytes) {
        // A length cut short runs past the end; a wrong one is a bad frame of one byte.
        bool cut = !head.ok() && bytes.size() - at < 2;
        frame.end = cut ? bytes.size() + 1 : at + 1;
        return;
    }
    frame.end = at + head.at() + length + 4;
    if (frame.end > bytes.size()) {
        return;
    }
    std::string_view body = bytes.substr(at, head.at() + length);
    uint32_t crc = 0;
    for (int i = 0; i < 4; ++i) {
        crc |= uint32_t{static_cast<uint8_t>(bytes[at + body.size() + i])} << (8 * i);
    }
    if (crc == Crc32(body) && ReadFields(body.substr(head.at()), context, frame.stored)) {
        frame.check = FrameCheck::Good;
    }
}

}  // namespace zv::monitor
