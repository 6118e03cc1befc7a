// The TCP/IP parameter writer: both layouts, removals, the order of the writes and the
// result reported to Apply.
#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "fakes/memory_registry.h"
#include "fakes/registry_paths.h"
#include "sysconfig/tcp_parameters.h"
#include "tuning/presets.h"

namespace zv {
namespace {

using namespace test_keys;

TuningSettings Preset(int16_t type, WindowsRelease release) {
    TuningSettings s;
    ApplyPreset(s, type, release);
    return s;
}

class TcpParametersTest : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(registry.OpenHandles(), 0u) << "a key was left open"; }

    // Expects each blank-separated "name=number" of `values` as a DWORD under the key.
    void ExpectDwords(const std::string& key, const std::string& values) const {
        std::istringstream words(values);
        for (std::string word; words >> word;) {
            const size_t equals = word.find('=');
            EXPECT_EQ(registry.Dword(key, word.substr(0, equals)),
                      std::stoul(word.substr(equals + 1)))
                << key << "\\" << word;
        }
    }

    testing::MemoryRegistry registry;
};

TEST_F(TcpParametersTest, NtLayoutWritesEveryValueAndEveryInterface) {
    registry.AddKey(kInterfaces + "\\{A}");
    registry.AddKey(kInterfaces + "\\{B}");
    TuningSettings s = Preset(4, WindowsRelease::Vista);  // T1: MTU 7240, RWIN 1836000
    s.BlackHole = true;
    EXPECT_TRUE(WriteTcpParameters(registry, s, WindowsRelease::Vista));

    ExpectDwords(kTcpip,
                 "GlobalMaxTcpWindowSize=1836000 TcpWindowSize=1836000 DefaultTTL=128 "
                 "KeepAliveTime=600000 KeepAliveInterval=1000 EnablePMTUDiscovery=1 "
                 "EnablePMTUBHDetect=1 SYNAttackProtect=2");
    ExpectDwords(kInternet, "MaxConnectionsPer1_0Server=4 MaxConnectionsPerServer=6");
    for (std::string adapter : {"{A}", "{B}"}) {
        ExpectDwords(kInterfaces + "\\" + adapter, "MTU=7240 MSS=7200");
        ExpectDwords(InterfaceService(adapter), "MTU=7240");
    }
    EXPECT_EQ(registry.Dword(kNdiCache, ""), 32u);
    ASSERT_EQ(registry.log.size(), 17u);
    EXPECT_EQ(registry.log[0],
              "set hklm\\system\\currentcontrolset\\services\\tcpip\\parameters"
              "\\globalmaxtcpwindowsize");
    EXPECT_EQ(registry.log[10],
              "set hklm\\system\\currentcontrolset\\services\\tcpip"
              "\\parameters\\interfaces\\{a}\\mtu");
    EXPECT_EQ(registry.log[16],
              "set hklm\\system\\currentcontrolset\\services\\vxd\\nwlink\\ndi"
              "\\params\\cachesize\\");
}

TEST_F(TcpParametersTest, Win9xLayoutWritesEveryValueAndEveryTransport) {
    registry.AddKey(kNetTrans + "\\0000");
    registry.AddKey(kNetTrans + "\\0001");
    TuningSettings s = Preset(0, WindowsRelease::Windows98);  // Dial-up: MTU 576, TTL 128, NDI 16
    EXPECT_TRUE(WriteTcpParameters(registry, s, WindowsRelease::Windows98));

    auto ttl = registry.Value(kMstcp, "DefaultTTL");
    ASSERT_TRUE(ttl);
    EXPECT_EQ(ttl->kind, kRegSz);
    EXPECT_EQ(ttl->data, std::string("128\0", 4));
    ExpectDwords(kMstcp,
                 "DefaultRcvWindow=2144 SessionKeepAlive=3600000 PMTUDiscovery=1 "
                 "PMTUBlackHoleDetect=0 SYNAttackProtect=2");
    ExpectDwords(kInternet, "MaxConnectionsPer1_0Server=2 MaxConnectionsPerServer=4");
    for (std::string transport : {"0000", "0001"}) {
        ExpectDwords(kNetTrans + "\\" + transport, "MaxMTU=576 MaxMSS=536");
    }
    EXPECT_EQ(registry.Dword(kNdiCache, ""), 16u);
    EXPECT_EQ(registry.log.size(), 13u);
    EXPECT_FALSE(registry.HasKey(kTcpip)) << "the NT layout must not be touched";
}

// Windows' own defaults come back only when the values are gone: nothing may be left,
// and -1 or -41 (MSS of an unset MTU) must never be stored.
TEST_F(TcpParametersTest, NotSetRemovesValuesInBothLayouts) {
    TuningSettings s = Preset(3, WindowsRelease::Vista);
    s.MTU = s.RWIN = s.TTL = s.SKA = s.NDI = NotSet;
    registry.AddKey(kInterfaces + "\\{A}");
    registry.AddKey(kNetTrans + "\\0000");
    ASSERT_TRUE(
        WriteTcpParameters(registry, Preset(3, WindowsRelease::Vista), WindowsRelease::Vista));
    ASSERT_TRUE(WriteTcpParameters(registry, Preset(3, WindowsRelease::WindowsMe),
                                   WindowsRelease::WindowsMe));

    EXPECT_TRUE(WriteTcpParameters(registry, s, WindowsRelease::Vista));
    EXPECT_TRUE(WriteTcpParameters(registry, s, WindowsRelease::WindowsMe));

    for (const char* name :
         {"GlobalMaxTcpWindowSize", "TcpWindowSize", "DefaultTTL", "KeepAliveTime"}) {
        EXPECT_FALSE(registry.Value(kTcpip, name)) << name;
    }
    for (const char* name : {"DefaultRcvWindow", "DefaultTTL", "SessionKeepAlive"}) {
        EXPECT_FALSE(registry.Value(kMstcp, name)) << name;
    }
    EXPECT_FALSE(registry.Value(kInterfaces + "\\{A}", "MTU"));
    EXPECT_FALSE(registry.Value(kInterfaces + "\\{A}", "MSS"));
    EXPECT_FALSE(registry.Value(InterfaceService("{A}"), "MTU"));
    EXPECT_FALSE(registry.Value(kNetTrans + "\\0000", "MaxMTU"));
    EXPECT_FALSE(registry.Value(kNetTrans + "\\0000", "MaxMSS"));
    EXPECT_FALSE(registry.Value(kNdiCache, ""));
    EXPECT_EQ(registry.Dword(kTcpip, "KeepAliveInterval"), 1000u);
}

// The writer takes any record: an MTU at the bottom of the 32-bit range must neither
// overflow nor wrap its MSS round to a large number.
TEST_F(TcpParametersTest, MssOfAnyMtuIsReckonedWithoutOverflow) {
    registry.AddKey(kInterfaces + "\\{A}");
    registry.AddKey(kNetTrans + "\\0000");
    TuningSettings s = Preset(3, WindowsRelease::Vista);
    s.MTU = std::numeric_limits<int32_t>::min();
    EXPECT_TRUE(WriteTcpParameters(registry, s, WindowsRelease::Vista));
    EXPECT_TRUE(WriteTcpParameters(registry, s, WindowsRelease::Windows98));
    EXPECT_EQ(registry.Dword(kInterfaces + "\\{A}", "MSS"), 0x80000000u);
    EXPECT_EQ(registry.Dword(kNetTrans + "\\0000", "MaxMSS"), 0x80000000u);
}

TEST_F(TcpParametersTest, UnrecognisedReleaseTouchesNothing) {
    EXPECT_TRUE(WriteTcpParameters(registry, Preset(1, WindowsRelease::Unrecognised),
                                   WindowsRelease::Unrecognised));
    EXPECT_EQ(registry.KeyCount(), 0u);
    EXPECT_TRUE(registry.log.empty());
}

TEST_F(TcpParametersTest, RefusedWritesAreReportedWithoutStoppingTheOthers) {
    registry.read_only_keys.insert(kInternet);
    EXPECT_FALSE(
        WriteTcpParameters(registry, Preset(1, WindowsRelease::Vista), WindowsRelease::Vista));
    EXPECT_FALSE(registry.Value(kInternet, "MaxConnectionsPerServer"));
    EXPECT_EQ(registry.Dword(kNdiCache, ""), 32u) << "rows after the refused ones still run";

    registry.writes_fail = true;
    EXPECT_FALSE(WriteTcpParameters(registry, InitialDefaultSettings(), WindowsRelease::Windows98));
}

TEST_F(TcpParametersTest, MissingInterfacesKeySkipsOnlyThePerInterfaceRows) {
    EXPECT_TRUE(WriteTcpParameters(registry, Preset(2, WindowsRelease::WindowsXp),
                                   WindowsRelease::WindowsXp));
    EXPECT_EQ(registry.Dword(kTcpip, "TcpWindowSize"), 186880u);
    EXPECT_EQ(registry.Dword(kNdiCache, ""), 32u);
    EXPECT_EQ(registry.log.size(), 11u);
}

}  // namespace
}  // namespace zv
