// One probe as the companion's store keeps it on disk: a frame of the record's length, its fields
// and a CRC-32 of both, so that a frame a crash cut short, or any changed byte, fails its check.
// Most fields are differences from the record before it in the same file, so a probe every 30 s
// takes about 11 bytes, 18 with the link's load; the host and the UTC offset are written only when
// they change, and in a file's first record. A reader skips the fields of a later version it does
// not know at the end of a record: those are added there, never in between.
//
// A record: flags (lost, TCP, may be proxy, name failed, where (2 bits), extra probe, busy),
// fields present (host, offset, load), the order's step (varint), the step of the wall
// clock against the order (zigzag varint), the round trip (varint, when not lost), then
// the offset (zigzag varint), the host (length and bytes) and the load (receive and send
// kbit/s as varints, the percent as a byte), each when present.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "monitor/probe_history.h"

namespace zv::monitor {

// A probe in the store, placed on the store's own forward-only count of milliseconds,
// which goes on from one run of the companion to the next; its tick_ms is the reader's.
struct StoredProbe {
    int64_t order_ms = 0;
    Probe probe;
};

// What the records of one file carry from one to the next; a file starts with a fresh one.
struct RecordContext {
    bool first = true;
    int64_t order_ms = 0;
    int64_t skew_ms = 0;  // the wall clock's UTC minus the order
    int offset_min = 0;
    std::string host;
};

// The record's frame; the context moves on to it.
std::string EncodeRecord(const StoredProbe& stored, RecordContext& context);

enum class FrameCheck { Good, Bad };
struct DecodedFrame {
    FrameCheck check = FrameCheck::Bad;
    // Where the frame says it ends, past the end of `bytes` for one cut short.
    std::size_t end = 0;
    StoredProbe stored;
};

// A frame longer than this is no frame of ours.
inline constexpr std::size_t kMaxRecordBytes = 1024;

// The frame at `at` into `frame`, whose host text is reused (a store's whole record is read
// at start); the context moves on only for a good one.
void DecodeRecord(std::string_view bytes, std::size_t at, RecordContext& context,
                  DecodedFrame& frame);

uint32_t Crc32(std::string_view bytes);

}  // namespace zv::monitor
