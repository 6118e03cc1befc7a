// The settings catalogue: the writer writes its rows and nothing else, in its order; which
// release reads which value; how a row is named in the report.
#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/lower_case.h"
#include "fakes/memory_registry.h"
#include "fakes/registry_paths.h"
#include "sysconfig/settings_catalogue.h"
#include "sysconfig/tcp_parameters.h"
#include "tuning/presets.h"

namespace zv {
namespace {

using namespace test_keys;

using testing::Lower;

TEST(SettingsCatalogueTest, TheWriterWritesEveryCatalogueRowAndNothingElseInOrder) {
    struct Case {
        WindowsRelease release;
        std::string interfaces;
        size_t rows;  // fixed rows plus each interface's rows
    };
    for (const Case& c : {Case{WindowsRelease::Windows98, kNetTrans, 9 + 2 * 2},
                          Case{WindowsRelease::Vista, kInterfaces, 11 + 2 * 3}}) {
        SCOPED_TRACE(c.interfaces);
        testing::MemoryRegistry registry;
        registry.AddKey(c.interfaces + "\\0000");
        registry.AddKey(c.interfaces + "\\{B}");
        TuningSettings s;
        ApplyPreset(s, 4, c.release);
        ASSERT_TRUE(WriteTcpParameters(registry, s, c.release));

        std::vector<std::string> expected;
        for (const CatalogueRow& row : CatalogueRows(registry, c.release)) {
            expected.push_back("set hklm\\" + Lower(row.key) + "\\" + Lower(row.entry->value_name));
        }
        EXPECT_EQ(expected.size(), c.rows);
        EXPECT_EQ(registry.log, expected);
    }
}

TEST(SettingsCatalogueTest, EachReleaseIsToldWhichValuesItReads) {
    struct Case {
        WindowsRelease release;
        const char* label;
        const char* reading;
    };
    const Case cases[] = {
        {WindowsRelease::Vista, "Receive window (RWIN): TcpWindowSize",
         "No: Ignored since Windows Vista: receive window auto-tuning"},
        {WindowsRelease::Vista, "Receive window (RWIN): GlobalMaxTcpWindowSize",
         "No: Ignored since Windows Vista: receive window auto-tuning"},
        {WindowsRelease::Vista, "SYN attack protection: SYNAttackProtect",
         "No: Always on since Windows Vista"},
        {WindowsRelease::Vista, "Connections per HTTP 1.1 server: MaxConnectionsPerServer",
         "Partly: Read only by Internet Explorer"},
        {WindowsRelease::Vista, "Time to live (TTL): DefaultTTL", "Yes"},
        {WindowsRelease::Vista, "MTU: Interfaces\\{A}\\MTU", "Yes"},
        {WindowsRelease::Vista, "MSS: Interfaces\\{A}\\MSS",
         "No: Not read: Windows derives the MSS from the MTU"},
        {WindowsRelease::Vista, "NDI cache size: (default value)",
         "No: A Windows 9x key: not read by the NT family"},
        {WindowsRelease::Windows2003, "Receive window (RWIN): TcpWindowSize", "Yes"},
        {WindowsRelease::WindowsXp, "SYN attack protection: SYNAttackProtect", "Yes"},
        {WindowsRelease::WindowsXp, "MTU: Services\\{A}\\Parameters\\Tcpip\\MTU",
         "No: Read only by Windows NT 4.0; later releases read the Interfaces key"},
        {WindowsRelease::WindowsNt4, "MTU: Interfaces\\{A}\\MTU", "No: Read since Windows 2000"},
        {WindowsRelease::WindowsNt4, "MTU: Services\\{A}\\Parameters\\Tcpip\\MTU", "Yes"},
    };
    testing::MemoryRegistry registry;
    registry.AddKey(kInterfaces + "\\{A}");
    std::vector<CatalogueRow> rows = CatalogueRows(registry, WindowsRelease::Vista);
    for (const Case& c : cases) {
        auto row = std::find_if(rows.begin(), rows.end(),
                                [&](const CatalogueRow& r) { return RowLabel(r) == c.label; });
        ASSERT_NE(row, rows.end()) << c.label;
        EXPECT_EQ(ReadingText(*row->entry, c.release), c.reading) << c.label;
    }
}

TEST(SettingsCatalogueTest, Windows9xRowsAreReadByTheNineXReleasesOnly) {
    testing::MemoryRegistry registry;
    registry.AddKey(kNetTrans + "\\0000");
    std::vector<std::string> labels;
    for (const CatalogueRow& row : CatalogueRows(registry, WindowsRelease::Windows98)) {
        labels.push_back(RowLabel(row) + " = " +
                         ReadingText(*row.entry, WindowsRelease::Windows98));
    }
    EXPECT_EQ(labels, (std::vector<std::string>{
                          "Receive window (RWIN): DefaultRcvWindow = Yes",
                          "Time to live (TTL): DefaultTTL = Yes",
                          "Keep-alive time: SessionKeepAlive = Yes",
                          "Path MTU discovery: PMTUDiscovery = Yes",
                          "Black-hole router detection: PMTUBlackHoleDetect = Yes",
                          "SYN attack protection: SYNAttackProtect = No: Not read by the "
                          "Windows 9x stack",
                          "Connections per HTTP 1.0 server: MaxConnectionsPer1_0Server = Partly: "
                          "Read only by Internet Explorer",
                          "Connections per HTTP 1.1 server: MaxConnectionsPerServer = Partly: "
                          "Read only by Internet Explorer",
                          "MTU: NetTrans\\0000\\MaxMTU = Yes",
                          "MSS: NetTrans\\0000\\MaxMSS = Yes",
                          "NDI cache size: (default value) = Yes",
                      }));
}

}  // namespace
}  // namespace zv
