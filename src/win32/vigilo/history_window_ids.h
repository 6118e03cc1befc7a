// The window class and control IDs of the connection history window, shared with the test
// driver.
#pragma once

namespace zv::history_ids {

inline constexpr char kClassName[] = "ZorvaneConnectionHistory";

constexpr int optSpan1 = 201;
constexpr int optSpan6 = 202;
constexpr int optSpan24 = 203;
constexpr int lblRoundTrip = 204;
constexpr int lblLoss = 205;
constexpr int chkLog = 206;
constexpr int chkNotices = 207;
constexpr int lblLog = 208;
constexpr int cmdSave = 209;
constexpr int cmdClose = 210;

// What the graph draws each mark with, so that a screenshot can be read back.
constexpr unsigned long kLossColor = 0x0000DC;       // RGB(220, 0, 0)
constexpr unsigned long kUpColor = 0xE1F5E1;         // RGB(225, 245, 225)
constexpr unsigned long kDownColor = 0xE1E1FF;       // RGB(255, 225, 225)
constexpr unsigned long kRoundTripColor = 0xC85A00;  // RGB(0, 90, 200)

}  // namespace zv::history_ids
