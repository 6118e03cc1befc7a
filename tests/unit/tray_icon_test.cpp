#include "shell/tray_icon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zv::shell {
namespace {

struct RecordingTray : TrayPort {
    struct Call {
        TrayCall call;
        TrayIconRecord record;
    };
    std::vector<Call> calls;
    void NotifyIcon(TrayCall call, const TrayIconRecord& record) override {
        calls.push_back({call, record});
    }
};

TEST(TrayIcon, AddFillsTheRecordTheShellIsGiven) {
    RecordingTray tray;
    TrayIcon icon(tray);
    icon.Add(0x1234, 5);

    ASSERT_EQ(tray.calls.size(), 1u);
    EXPECT_EQ(tray.calls[0].call, TrayCall::Add);
    const TrayIconRecord& r = tray.calls[0].record;
    EXPECT_EQ(r.cbSize, 88u);
    EXPECT_EQ(r.hWnd, 0x1234u);
    EXPECT_EQ(r.uID, 1u);
    EXPECT_EQ(r.uFlags, 7u);
    EXPECT_EQ(r.uCallbackMessage, 512u);
    EXPECT_EQ(r.hIcon, 5);
    // "Zorvane" and blanks to the full 64 bytes, with no terminating zero.
    EXPECT_EQ(std::string(r.szTip.data(), r.szTip.size()), "Zorvane" + std::string(57, ' '));
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
}  // namespace zv::shell
