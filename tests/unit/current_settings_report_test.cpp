// The Current Settings report: what each column says for values present, absent and of an
// unexpected kind, one row per interface, an incomplete choice, and the copied text.
#include <gtest/gtest.h>

#include "fakes/memory_registry.h"
#include "fakes/registry_paths.h"
#include "sysconfig/current_settings_report.h"
#include "sysconfig/registry_access.h"
#include "tuning/presets.h"

namespace zv {
namespace {

using namespace test_keys;

std::string Line(const ReportRow& r) {
    return r.setting + " | " + r.now + " | " + r.windows_default + " | " + r.apply_would_write +
           " | " + r.used;
}

TEST(CurrentSettingsReportTest, ShowsTheRegistryAsItIsBesideWhatApplyWouldWrite) {
    testing::MemoryRegistry registry;
    registry.AddKey(kInterfaces + "\\{A}");
    registry.AddKey(kInterfaces + "\\{B}");
    registry.Put(kTcpip, "TcpWindowSize", kRegDword, DwordBytes(65535));
    registry.Put(kTcpip, "DefaultTTL", kRegSz, std::string("64\0", 3));
    registry.Put(kInterfaces + "\\{B}", "MTU", 3, "\x05\xdc");
    TuningSettings t1;
    ApplyPreset(t1, 4, WindowsRelease::Vista);  // MTU 7240, RWIN 1836000
    const size_t before = registry.log.size();

    std::vector<ReportRow> rows = CurrentSettingsReport(registry, WindowsRelease::Vista, t1);
    ASSERT_EQ(rows.size(), 11u + 2 * 3);
    EXPECT_EQ(Line(rows[1]),
              "Receive window (RWIN): TcpWindowSize | 65535 | 17520 on Ethernet | 1836000 | No: "
              "Ignored since Windows Vista: receive window auto-tuning");
    EXPECT_EQ(Line(rows[2]), "Time to live (TTL): DefaultTTL | \"64\" | 128 | 128 | Yes");
    EXPECT_EQ(Line(rows[3]),
              "Keep-alive time: KeepAliveTime | (not set) | 7200000 (2 hours) | 600000 | Yes");
    EXPECT_EQ(Line(rows[10]),
              "MTU: Interfaces\\{A}\\MTU | (not set) | The adapter's own | 7240 | Yes");
    EXPECT_EQ(Line(rows[13]),
              "MTU: Interfaces\\{B}\\MTU | (type 3) 05 dc | The adapter's own | 7240 | Yes");
    EXPECT_EQ(Line(rows[16]),
              "NDI cache size: (default value) | (not set) | (not set) | 32 | No: A Windows 9x "
              "key: not read by the NT family");
    EXPECT_EQ(registry.log.size(), before) << "the report only reads";

    TuningSettings left_to_windows = t1;
    left_to_windows.TTL = NotSet;
    EXPECT_EQ(CurrentSettingsReport(registry, WindowsRelease::WindowsXp, left_to_windows)[2]
                  .apply_would_write,
              "(removed)");
    EXPECT_EQ(CurrentSettingsReport(registry, WindowsRelease::WindowsXp, std::nullopt)[2]
                  .apply_would_write,
              "(choice incomplete)");
}

TEST(CurrentSettingsReportTest, CopiedTextIsTabSeparatedWithTheHeader) {
    ReportRow row{"MTU: Interfaces\\{A}\\MTU", "(not set)", "The adapter's own", "1500", "Yes"};
    EXPECT_EQ(ReportText({row}),
              "Setting\tNow in the registry\tWindows default\tApply would write\tUsed by this "
              "Windows\r\n"
              "MTU: Interfaces\\{A}\\MTU\t(not set)\tThe adapter's own\t1500\tYes\r\n");
}

}  // namespace
}  // namespace zv
