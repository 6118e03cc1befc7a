// Which release and name each Windows version gets.
#include <gtest/gtest.h>

#include "sysconfig/windows_version.h"

namespace zv {
namespace {

using R = WindowsRelease;

struct Case {
    VersionInfo info;
    TrueVersion true_version;
    const char* name;
    WindowsRelease release;
};

void ExpectMapped(const Case& c) {
    WindowsVersion v = MapWindowsVersion(c.info, c.true_version);
    EXPECT_EQ(v.name, c.name);
    EXPECT_EQ(v.release, c.release) << c.name;
    // The stack's checks go by the true build and product type.
    if (c.true_version.ok) {
        EXPECT_EQ(v.detail.build, c.true_version.build) << c.name;
        EXPECT_EQ(v.detail.server, c.true_version.server) << c.name;
    }
}

TEST(WindowsVersionTest, MapsEachVersionToItsReleaseAndName) {
    const TrueVersion none;
    const Case cases[] = {
        {{true, 0, 3, 11}, none, "Windows 32", R::Win32s},
        {{true, 1, 4, 0}, none, "Windows 95", R::Windows95},
        {{true, 1, 4, 10}, none, "Windows 98", R::Windows98},
        {{true, 1, 4, 90}, none, "Windows ME", R::WindowsMe},
        {{true, 2, 3, 51}, none, "Windows NT", R::WindowsNt4},
        {{true, 2, 4, 0}, none, "Windows NT", R::WindowsNt4},
        {{true, 2, 5, 0}, none, "Windows 2000", R::Windows2000},
        {{true, 2, 5, 1}, none, "Windows XP", R::WindowsXp},
        {{true, 2, 5, 2}, none, "Windows 2003", R::Windows2003},
        {{true, 2, 5, 2}, {true, 5, 2, 3790, true}, "Windows 2003", R::Windows2003},
        // Windows XP x64 is 5.2 too, on a workstation.
        {{true, 2, 5, 2}, {true, 5, 2, 3790, false}, "Windows XP", R::Windows2003},
    };
    for (const auto& c : cases) {
        ExpectMapped(c);
    }
}

// Without a compatibility manifest GetVersionExA says 6.2 on every release since 8; the
// true version names the release.
TEST(WindowsVersionTest, LaterNtReleasesAreVistaNamedFromTheTrueVersion) {
    const VersionInfo reported{true, 2, 6, 2};
    const Case cases[] = {
        {{true, 2, 6, 0}, {true, 6, 0, 6002, false}, "Windows Vista", R::Vista},
        {reported, {true, 6, 1, 7601, false}, "Windows 7", R::Vista},
        {reported, {true, 6, 2, 9200, false}, "Windows 8", R::Vista},
        {reported, {true, 6, 3, 9600, false}, "Windows 8.1", R::Vista},
        {reported, {true, 10, 0, 19045, false}, "Windows 10", R::Vista},
        {reported, {true, 10, 0, 22631, false}, "Windows 11", R::Vista},
        {reported, {true, 6, 0, 6002, true}, "Windows Server 2008", R::Vista},
        {reported, {true, 6, 2, 9200, true}, "Windows Server 2012", R::Vista},
        {reported, {true, 10, 0, 14393, true}, "Windows Server 2016", R::Vista},
        {reported, {true, 10, 0, 17763, true}, "Windows Server 2019", R::Vista},
        {reported, {true, 10, 0, 20348, true}, "Windows Server 2022", R::Vista},
        {{true, 2, 6, 1}, {}, "Windows 7", R::Vista},
    };
    for (const auto& c : cases) {
        ExpectMapped(c);
    }
}

TEST(WindowsVersionTest, FailureAndUnknownReleasesAreUnrecognisedWithNoName) {
    const VersionInfo unknown[] = {
        {false, 2, 5, 1},  // GetVersionExA failed
        {true, 1, 4, 50}, {true, 1, 5, 0}, {true, 2, 2, 0}, {true, 3, 10, 0},
    };
    for (const auto& info : unknown) {
        WindowsVersion v = MapWindowsVersion(info, {true, 10, 0, 19045, false});
        EXPECT_EQ(v.release, R::Unrecognised)
            << info.platform_id << " " << info.major << "." << info.minor;
        EXPECT_EQ(v.name, "");
    }
}

// A value read "since" a release stays read by every later one, the newest included; only
// a range given an end stops, and no range takes in an unrecognised release.
TEST(WindowsVersionTest, ReleaseRangesRunOnUnlessGivenAnEnd) {
    const ReleaseRange since_2000 = ReleaseRange::Since(R::Windows2000);
    const ReleaseRange until_2003 = ReleaseRange::From(R::WindowsNt4, R::Windows2003);
    EXPECT_TRUE(since_2000.Includes(R::Vista));
    EXPECT_FALSE(since_2000.Includes(R::WindowsNt4));
    EXPECT_TRUE(until_2003.Includes(R::Windows2003));
    EXPECT_FALSE(until_2003.Includes(R::Vista));
    EXPECT_FALSE(ReleaseRange::Only(R::WindowsNt4).Includes(R::Windows2000));
    for (const ReleaseProperties& row : release_table::kRows) {
        EXPECT_FALSE(ReleaseRange::None().Includes(row.release)) << row.name;
    }
    EXPECT_FALSE(ReleaseRange::Since(R::Unrecognised).Includes(R::Unrecognised));
}

}  // namespace
}  // namespace zv
