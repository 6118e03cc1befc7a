#include "monitor/tray_icon.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zv::monitor {
namespace {

struct RecordingTray : TrayPort {
    struct Call {
        TrayCall call;
        TrayIconRecord record;
    };
    bool large = false;
    std::vector<Call> calls;
    void NotifyIcon(TrayCall call, const TrayIconRecord& record) override {
        calls.push_back({call, record});
    }
    bool HasLargeRecord() const override { return large; }
};

std::string Tip(const TrayIconRecord& record) {
    return std::string(record.szTip.data(), strnlen(record.szTip.data(), record.szTip.size()));
}

struct ShellCase {
    const char* shell;
    bool large;
    uint32_t size;
    size_t longest_tip;  // characters before the terminating zero
};
const ShellCase kShells[] = {
    {"shell 4 (first record)", false, 88, 63},
    {"shell 5 and later (larger record)", true, 488, 127},
};

TEST(TrayIcon, AddFillsTheRecordInTheLayoutTheShellTakes) {
    for (const ShellCase& shell : kShells) {
        SCOPED_TRACE(shell.shell);
        RecordingTray tray;
        tray.large = shell.large;
        TrayIcon icon(tray);
        icon.Add(0x1234, 5);

        ASSERT_EQ(tray.calls.size(), 1u);
        EXPECT_EQ(tray.calls[0].call, TrayCall::Add);
        const TrayIconRecord& r = tray.calls[0].record;
        EXPECT_EQ(r.cbSize, shell.size);
        EXPECT_EQ(r.hWnd, 0x1234u);
        EXPECT_EQ(r.uID, 1u);
        EXPECT_EQ(r.uFlags, 7u);
        EXPECT_EQ(r.uCallbackMessage, 512u);
        EXPECT_EQ(r.hIcon, 5);
        EXPECT_EQ(Tip(r), "Zorvane");

        // A tip is cut to what the record holds, and an unchanged tip sends nothing.
        icon.SetTip(std::string(200, 'x'));
        EXPECT_EQ(Tip(tray.calls.back().record), std::string(shell.longest_tip, 'x'));
        icon.SetTip(std::string(300, 'x'));
        EXPECT_EQ(tray.calls.size(), 2u);

        // Balloons exist only in the larger record, and go out with one call only.
        EXPECT_EQ(icon.ShowBalloon("Zorvane", "Connection lost", BalloonIcon::Warning),
                  shell.large);
        if (shell.large) {
            const TrayIconRecord& b = tray.calls.back().record;
            EXPECT_EQ(b.uFlags, 7u | 0x10u);
            EXPECT_EQ(b.szInfo, "Connection lost");
            EXPECT_EQ(b.szInfoTitle, "Zorvane");
            EXPECT_EQ(b.dwInfoFlags, 2u);
            EXPECT_EQ(b.uTimeout, 10000u);
            // A longer text ends at a word, and says it goes on.
            std::string words;
            while (words.size() < 300) {
                words += "word ";
            }
            icon.ShowBalloon("Zorvane", words, BalloonIcon::Warning);
            const std::string& cut = tray.calls.back().record.szInfo;
            EXPECT_EQ(cut, words.substr(0, 249) + "...");
        }
        icon.Change(2);
        EXPECT_EQ(tray.calls.back().record.uFlags, 7u);
    }
}

TEST(TrayIcon, ChangeAndRemoveReuseTheRecordWithOnlyTheImageChanged) {
    RecordingTray tray;
    TrayIcon icon(tray);
    icon.Add(0x42, 5);
    icon.Change(2);
    icon.Change(2);
    icon.Remove();

    ASSERT_EQ(tray.calls.size(), 4u);
    EXPECT_EQ(tray.calls[1].call, TrayCall::Modify);
    EXPECT_EQ(tray.calls[2].call, TrayCall::Modify);
    EXPECT_EQ(tray.calls[3].call, TrayCall::Delete);
    for (size_t i = 1; i < tray.calls.size(); ++i) {
        const TrayIconRecord& r = tray.calls[i].record;
        SCOPED_TRACE("call " + std::to_string(i));
        EXPECT_EQ(r.hWnd, 0x42u);
        EXPECT_EQ(r.uID, 1u);
        EXPECT_EQ(r.uFlags, 7u);
        EXPECT_EQ(r.hIcon, 2);
        EXPECT_EQ(r.szTip, tray.calls[0].record.szTip);
    }
}

}  // namespace
}  // namespace zv::monitor
