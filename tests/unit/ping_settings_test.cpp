// "Ping.cfg": the exact bytes written, what reads back, and which damage falls back to
// the defaults.
#include <gtest/gtest.h>

#include "fakes/program_texts.h"
#include "fakes/memory_file_system.h"
#include "ping/host_check.h"
#include "ping/ping_settings.h"

namespace zv::ping {
namespace {

using testing::MemoryFileSystem;

constexpr const char* kDir = "C:\\Zv";
constexpr const char* kPath = "C:\\Zv\\Ping.cfg";

bool operator==(const PingSettings& a, const PingSettings& b) {
    return a.PingAutomatic == b.PingAutomatic && a.PingHost == b.PingHost &&
           a.PingInterval == b.PingInterval && a.PingSound == b.PingSound;
}

PingSettings Manual() {
    return PingSettings{false, "ping.example.org", "12", true};
}

TEST(PingSettingsFile, DefaultsAreWrittenExactly) {
    MemoryFileSystem files;
    PingSettings settings;
    SetPingDefaults(settings);
    ASSERT_TRUE(SavePingCfg(files, kDir, settings));
    EXPECT_EQ(files.files[kPath], test_texts::PingFile(true, "www.wikipedia.org", 5, false));
}

TEST(PingSettingsFile, ManualSettingsRoundTrip) {
    MemoryFileSystem files;
    ASSERT_TRUE(SavePingCfg(files, kDir, Manual()));
    EXPECT_EQ(files.files[kPath], test_texts::PingFile(false, "ping.example.org", 12, true));
    PingSettings loaded;
    LoadPingCfg(files, kDir, loaded);
    EXPECT_TRUE(loaded == Manual());
}

TEST(PingSettingsFile, MissingOrHiddenFileGivesDefaultsAndKeepsTheSoundChoice) {
    for (bool hidden : {false, true}) {
        SCOPED_TRACE(hidden ? "hidden" : "missing");
        MemoryFileSystem files;
        if (hidden) {
            files.files[kPath] = test_texts::PingFile(false, "x", 9, false);
            files.hidden.insert(kPath);
        }
        PingSettings settings = Manual();
        LoadPingCfg(files, kDir, settings);
        EXPECT_TRUE(settings == (PingSettings{true, DefaultPingHost, "5", true}));
    }
}

TEST(PingSettingsFile, TolerantReading) {
    struct Case {
        const char* label;
        const char* text;
        PingSettings expected;
    };
    const Case cases[] = {
        {"blanks around fields",
         " PingAutomatic , #FALSE# \r\nPingHost,\thost.example \r\n"
         "PingInterval, 7\r\nPingSound ,#TRUE#\r\n",
         {false, "host.example", "7", true}},
        {"quoted host",
         "PingAutomatic,#FALSE#\r\nPingHost,\"a, b\"\r\nPingInterval,60\r\n"
         "PingSound,#FALSE#\r\n",
         {false, "a, b", "60", false}},
        {"LF line ends, no final line end",
         "K,#TRUE#\nK,h\nK,1\nK,#FALSE#",
         {true, "h", "1", false}},
        {"empty host", "K,#FALSE#\r\nK,\r\nK,3\r\nK,#TRUE#\r\n", {false, "", "3", true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto read = ParsePingCfg(c.text);
        ASSERT_TRUE(read.has_value());
        EXPECT_TRUE(*read == c.expected);
    }
}

TEST(PingSettingsFile, DamagedFileGivesDefaults) {
    const char* damaged[] = {
        "",
        "PingAutomatic,#TRUE#\r\nPingHost,h\r\nPingInterval,5\r\n",
        "PingAutomatic,#YES#\r\nPingHost,h\r\nPingInterval,5\r\nPingSound,#FALSE#\r\n",
        "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,5\r\nPingSound,1\r\n",
        "PingAutomatic,#FALSE#\r\nPingHost,a,b\r\nPingInterval,5\r\nPingSound,#FALSE#\r\n",
        "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,0\r\nPingSound,#FALSE#\r\n",
        "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,61\r\nPingSound,#FALSE#\r\n",
        "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,2.5\r\nPingSound,#FALSE#\r\n",
        "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,-5\r\nPingSound,#FALSE#\r\n",
        "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,\r\nPingSound,#FALSE#\r\n",
    };
    for (const char* text : damaged) {
        SCOPED_TRACE(text);
        MemoryFileSystem files;
        files.files[kPath] = text;
        PingSettings settings = Manual();
        LoadPingCfg(files, kDir, settings);
        EXPECT_TRUE(settings == (PingSettings{true, DefaultPingHost, "5", true}));
    }
}

TEST(PingSettingsFile, FailedWriteLeavesTheOldFile) {
    MemoryFileSystem files;
    files.files[kPath] = "old";
    files.writes_fail = true;
    EXPECT_FALSE(SavePingCfg(files, kDir, Manual()));
    EXPECT_EQ(files.files[kPath], "old");
}

// An installed copy: the users may change Ping.cfg but create nothing in the program
// folder. The elevated main program and the companion at the user's level take turns.
TEST(PingSettingsFile, InstalledCopyIsSavedByTheUsersAndTheMainProgramInTurn) {
    MemoryFileSystem files;
    files.files[kPath] = "as installed";
    files.user_may_change.insert(kPath);
    PingSettings defaults;
    SetPingDefaults(defaults);
    struct Turn {
        const char* who;
        bool user_level;
        PingSettings settings;
    };
    for (const Turn& turn :
         {Turn{"companion", true, Manual()}, Turn{"main program", false, defaults},
          Turn{"companion again", true, Manual()}}) {
        SCOPED_TRACE(turn.who);
        files.user_level = turn.user_level;
        EXPECT_TRUE(SavePingCfg(files, kDir, turn.settings));
        PingSettings read;
        LoadPingCfg(files, kDir, read);
        EXPECT_TRUE(read == turn.settings);
    }
}

TEST(PingSettingsFile, UserCannotCreateAMissingFileInAnInstalledCopy) {
    MemoryFileSystem files;
    files.user_level = true;
    EXPECT_FALSE(SavePingCfg(files, kDir, Manual()));
    EXPECT_EQ(files.files.count(kPath), 0u);
}

// What can be probed: names whose parts may be all digits but the last, and unicast
// addresses of other computers; the rest with the reason the user reads.
TEST(HostCheck, NamesAndAddressesThatCanBeProbed) {
    const std::string label63(63, 'a');
    const std::string name253 = label63 + "." + label63 + "." + label63 + "." + label63.substr(2);
    const struct {
        std::string host;
        const char* problem;
    } cases[] = {
        {"163.com", ""},
        {"www.example.org", ""},
        {"xn--bcher-kva.example", ""},
        {"intranet", ""},
        {"10.19.3.2", ""},
        {name253, ""},
        {"", "no host is given"},
        {"1.2.3", "it is not an IPv4 address of four numbers from 0 to 255"},
        {"1.2.3.256", "it is not an IPv4 address of four numbers from 0 to 255"},
        {"0.0.0.0", "an address beginning with 0 names no computer"},
        {"127.0.0.1", "it is this computer, which always answers"},
        {"LocalHost", "it is this computer, which always answers"},
        {"a.localhost", "it is this computer, which always answers"},
        {"224.0.0.1", "it is a multicast address"},
        {"255.255.255.255", "it is a broadcast or reserved address"},
        {"::1", "probes go over IPv4 today, so give a name or an IPv4 address"},
        {"[2001:db8::1]", "probes go over IPv4 today, so give a name or an IPv4 address"},
        {"b\xFC"
         "cher.example",
         "it holds characters that must first be turned into a host name"},
        {"a..b", "it has an empty part between dots"},
        {"example.org.", "it has an empty part between dots"},
        {label63 + "a.com", "a part between dots is longer than 63 characters"},
        {name253 + "a", "it is longer than 253 characters"},
        {"a_b.com", "it holds characters other than letters, digits, hyphens and dots"},
        {"two words", "it holds characters other than letters, digits, hyphens and dots"},
        {"-a.com", "a part between dots begins or ends with a hyphen"},
        {"example.123", "its last part is a number, which no name ends with"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HostProblem(c.host), c.problem) << "host '" << c.host << "'";
    }
}

}  // namespace
}  // namespace zv::ping
