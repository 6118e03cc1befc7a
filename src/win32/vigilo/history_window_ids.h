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
constexpr int lblNow = 211;
constexpr int lblRecent = 212;
constexpr int lblWhere = 213;
constexpr int lblHost = 214;
constexpr int txtHost = 215;
constexpr int lblSlow = 216;
constexpr int txtSlowMs = 217;
constexpr int lblSlowLoss = 218;
constexpr int txtSlowLoss = 219;
constexpr int cmdApply = 220;

// What the graph draws each mark with, so that a screenshot can be read back.
constexpr unsigned long kLossColor = 0x0000DC;       // RGB(220, 0, 0)
constexpr unsigned long kUpColor = 0xE1F5E1;         // RGB(225, 245, 225)
constexpr unsigned long kDownColor = 0xE1E1FF;       // RGB(255, 225, 225)
constexpr unsigned long kRoundTripColor = 0xC85A00;  // RGB(0, 90, 200)
// An outage's band by where it lay; kDownColor where that is not known.
constexpr unsigned long kYourNetworkColor = 0x78C8FF;     // RGB(255, 200, 120)
constexpr unsigned long kYourProviderColor = 0xFFAAC8;    // RGB(200, 170, 255)
constexpr unsigned long kBeyondProviderColor = 0xFFC896;  // RGB(150, 200, 255)

}  // namespace zv::history_ids
