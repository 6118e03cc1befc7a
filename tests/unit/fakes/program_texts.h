// What the programs show and save, spelt once for the unit tests and the drivers.
#pragma once

#include <string>

namespace zv::test_texts {

// Apply's messages, in order: done, the restart question, and the reminder after a No.
inline constexpr char kAppliedText[] =
    "Changes Applied Successfully.\r\nYou need to restart the Machine to make chages affect.";
inline constexpr char kRestartQuestion[] =
    "System changes were successfully done.\r\n\r\nIn order to enjoy all the benefits of "
    "Zorvane, it is highly recommended to restart computer.\r\n\r\nWould you like to restart "
    "your computer now?";
inline constexpr char kUndoneText[] =
    "The last change has been undone: the registry values and Zorvane.cfg are as they were "
    "before it.";
inline constexpr char kRememberText[] =
    "Keep in mind that you must restart your computer\r\nbefore the new settings become "
    "effective.";
// Restore's question, and its message once done.
inline constexpr char kRestoreQuestion[] =
    "This Program will restore all Windows settings.\r\nWould you like to Continue?";
inline constexpr char kRestoredText[] = "Windows default settings were successfully restored.";

// A Manual-mode choice with every value custom, as Zorvane.cfg holds it.
inline constexpr char kManualFile[] =
    "ConnectionType,2\r\nOptiMode,1\r\nMTU,#TRUE#,1500\r\nRWIN,#TRUE#,8,96000\r\n"
    "TTL,#TRUE#,128\r\nSKA,#TRUE#,9,600000\r\nNDI,#TRUE#,5,32\r\nPMTU,#TRUE#\r\n"
    "BlackHole,#FALSE#\r\nMSCPS0,4,6\r\nMSCPS1,2,4\r\n";

// Ping.cfg as the programs write it.
inline std::string PingFile(bool automatic, const std::string& host, int minutes, bool sound) {
    auto flag = [](bool on) { return on ? "#TRUE#\r\n" : "#FALSE#\r\n"; };
    return std::string("PingAutomatic,") + flag(automatic) + "PingHost," + host +
           "\r\nPingInterval," + std::to_string(minutes) + "\r\nPingSound," + flag(sound);
}

}  // namespace zv::test_texts
