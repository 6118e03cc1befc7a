// The TCP/IP parameter writer: both layouts, removals, the order of the writes and the
// result reported to Apply.
#include <gtest/gtest.h>

#include <limits>

#include "fakes/memory_registry.h"
#include "sysconfig/tcp_parameters.h"
#include "tuning/presets.h"

namespace zv {
namespace {

const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInterfaces = kTcpip + "\\Interfaces";
const std::string kInternet = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kNdi = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";

TuningSettings Preset(int16_t type, WindowsRelease release) {
    TuningSettings s;
    ApplyPreset(s, type, release);
    return s;
}

class TcpParametersTest : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(registry.OpenHandles(), 0u) << "a key was left open"; }

    testing::MemoryRegistry registry;
};

TEST_F(TcpParametersTest, NtLayoutWritesEveryValueAndEveryInterface) {
    registry.AddKey(kInterfaces + "\\{A}");
    registry.AddKey(kInterfaces + "\\{B}");
    TuningSettings s = Preset(4, WindowsRelease::Vista);  // T1: MTU 7240, RWIN 1836000
    s.BlackHole = true;
    EXPECT_TRUE(WriteTcpParameters(registry, s, WindowsRelease::Vista));

    EXPECT_EQ(registry.Dword(kTcpip, "GlobalMaxTcpWindowSize"), 1836000u);
    EXPECT_EQ(registry.Dword(kTcpip, "TcpWindowSize"), 1836000u);
    EXPECT_EQ(registry.Dword(kTcpip, "DefaultTTL"), 128u);
    EXPECT_EQ(registry.Dword(kTcpip, "KeepAliveTime"), 600000u);
    EXPECT_EQ(registry.Dword(kTcpip, "KeepAliveInterval"), 1000u);
    EXPECT_EQ(registry.Dword(kTcpip, "EnablePMTUDiscovery"), 1u);
    EXPECT_EQ(registry.Dword(kTcpip, "EnablePMTUBHDetect"), 1u);
    EXPECT_EQ(registry.Dword(kTcpip, "SYNAttackProtect"), 2u);
    EXPECT_EQ(registry.Dword(kInternet, "MaxConnectionsPer1_0Server"), 4u);
    EXPECT_EQ(registry.Dword(kInternet, "MaxConnectionsPerServer"), 6u);
    for (std::string adapter : {"{A}", "{B}"}) {
        EXPECT_EQ(registry.Dword(kInterfaces + "\\" + adapter, "MTU"), 7240u) << adapter;
        EXPECT_EQ(registry.Dword(kInterfaces + "\\" + adapter, "MSS"), 7200u) << adapter;
        EXPECT_EQ(
            registry.Dword(
                "SYSTEM\\CurrentControlSet\\Services\\" + adapter + "\\Parameters\\Tcpip", "MTU"),
            7240u)
            << adapter;
    }
    EXPECT_EQ(registry.Dword(kNdi, ""), 32u);
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

    EXPECT_EQ(registry.Dword(kMstcp, "DefaultRcvWindow"), 2144u);
    auto ttl = registry.Value(kMstcp, "DefaultTTL");
    ASSERT_TRUE(ttl);
    EXPECT_EQ(ttl->kind, kRegSz);
    EXPECT_EQ(ttl->data, std::string("128\0", 4));
    EXPECT_EQ(registry.Dword(kMstcp, "SessionKeepAlive"), 3600000u);
    EXPECT_EQ(registry.Dword(kMstcp, "PMTUDiscovery"), 1u);
    EXPECT_EQ(registry.Dword(kMstcp, "PMTUBlackHoleDetect"), 0u);
    EXPECT_EQ(registry.Dword(kMstcp, "SYNAttackProtect"), 2u);
    EXPECT_EQ(registry.Dword(kInternet, "MaxConnectionsPer1_0Server"), 2u);
    EXPECT_EQ(registry.Dword(kInternet, "MaxConnectionsPerServer"), 4u);
    for (std::string transport : {"0000", "0001"}) {
        EXPECT_EQ(registry.Dword(kNetTrans + "\\" + transport, "MaxMTU"), 576u) << transport;
        EXPECT_EQ(registry.Dword(kNetTrans + "\\" + transport, "MaxMSS"), 536u) << transport;
    }
    EXPECT_EQ(registry.Dword(kNdi, ""), 16u);
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
    EXPECT_FALSE(
        registry.Value("SYSTEM\\CurrentControlSet\\Services\\{A}\\Parameters\\Tcpip", "MTU"));
    EXPECT_FALSE(registry.Value(kNetTrans + "\\0000", "MaxMTU"));
    EXPECT_FALSE(registry.Value(kNetTrans + "\\0000", "MaxMSS"));
    EXPECT_FALSE(registry.Value(kNdi, ""));
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
    EXPECT_EQ(registry.Dword(kNdi, ""), 32u) << "rows after the refused ones still run";

    registry.writes_fail = true;
    EXPECT_FALSE(WriteTcpParameters(registry, InitialDefaultSettings(), WindowsRelease::Windows98));
}

TEST_F(TcpParametersTest, MissingInterfacesKeySkipsOnlyThePerInterfaceRows) {
    EXPECT_TRUE(WriteTcpParameters(registry, Preset(2, WindowsRelease::WindowsXp),
                                   WindowsRelease::WindowsXp));
    EXPECT_EQ(registry.Dword(kTcpip, "TcpWindowSize"), 186880u);
    EXPECT_EQ(registry.Dword(kNdi, ""), 32u);
    EXPECT_EQ(registry.log.size(), 11u);
}

}  // namespace
}  // namespace zv
