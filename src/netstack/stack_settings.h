// The modern stack's settings, one row each: what a setting is, where Windows keeps it (which
// says how Zorvane reads and writes it), its default per release, netsh's words for it and
// its check's threshold. The reads, writes, checks and Undo find a row by its setting, and
// group rows by what the table says of them. A new setting is a value of StackSetting and
// its row here; one with a check also a FindingKind here and the check in stack_checks.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "netstack/stack_machine.h"

namespace zv::netstack {

// The words the table is written in.

// A setting, in the order the rows show them.
enum class StackSetting {
    AutoTuningLocal,
    AutoTuningGroupPolicy,
    AutoTuningEffective,
    CongestionProvider,
    Ecn,
    Timestamps,
    InitialRto,
    MaxSynRetransmissions,
    NonSackRttResiliency,
    ReceiveSideScaling,
    ReceiveSegmentCoalescing,
    Ipv4Mtu,
    Ipv6Mtu,
    TcpAckFrequency,
    MisplacedTcpAckFrequency,
    MisplacedTcpNoDelay,
    ClassicReceiveWindow,
};

// When a change of the setting takes effect.
enum class TakesEffect { AtOnce, NewConnections, AdapterRestart, Restart };

// A named value of a setting.
struct Choice {
    uint32_t value;
    const char* text;  // as the row shows it: "Normal", "CUBIC"
};

// What a check finds harmful.
enum class FindingKind {
    AutoTuningLimited,     // disabled, restricted, highly restricted or experimental
    Bbr2LoopbackHang,      // BBR2 on a build with the loopback hang
    MisplacedValue,        // TcpAckFrequency / TCPNoDelay where Windows does not read it
    MtuOutOfBounds,        // below 576 (IPv4) / 1280 (IPv6) or above the link's MTU
    RssOff,                // receive-side scaling off with more than one processor
    IgnoredClassicValues,  // receive-window values a release since Vista ignores
};

// A row's place on this machine: the setting and its instance (a template's SettingName,
// an adapter's LUID in decimal, a registry key's path, or "" for a global setting).
struct RowId {
    StackSetting setting;
    std::string instance;

    bool operator==(const RowId& other) const {
        return setting == other.setting && instance == other.instance;
    }
};

// Where Windows keeps a setting, which says how Zorvane reads and writes it.
enum class Store {
    // MSFT_NetTCPSetting, read from and written to the Internet template; on Vista and 7,
    // netsh sets it, where it has words for it, and nothing reads it back.
    TcpGlobal,
    // MSFT_NetTCPSetting, a row for each template.
    TcpTemplates,
    Offload,          // MSFT_NetOffloadGlobalSetting
    IpInterface,      // each adapter's NlMtu: IP Helper now, netsh for the persistent store
    AdapterRegistry,  // a value under each adapter's Tcpip\Parameters\Interfaces\{GUID} key
    // A registry value Windows does not read where it is: Zorvane only ever removes it.
    StrayRegistry,
};

// The templates of MSFT_NetTCPSetting, in the order their rows show them.
constexpr const char* kTemplates[] = {"Internet", "Datacenter", "InternetCustom",
                                      "DatacenterCustom", "Compat"};
// The template the global TCP settings are read from and written to.
constexpr char kGlobalTemplate[] = "Internet";

// Whether Zorvane may change the setting: the Group Policy and effective levels are only
// shown.
enum class Access { Settable, ReadOnly };

struct ChoiceList {
    const Choice* first;
    size_t count;
};

struct ValueList {
    const uint32_t* first;
    size_t count;
};

struct WordList {
    const char* const* first;
    size_t count;
};

// A setting given as a number, not by name: its bounds (an adapter's MTU is bounded above
// by its link) and the values a user is likely to want, offered between its ends.
struct Range {
    uint32_t minimum;
    uint32_t maximum;
    ValueList usual;
};

// Windows' own value on a release, where it is a number, for an instance of the setting.
using DefaultOf = std::optional<uint32_t> (*)(const std::string& instance,
                                              const StackMachine& machine);

// How netsh names the setting.
struct NetshWords {
    // "ecncapability": what "int tcp set global" sets on Vista and 7 (and "int tcp set
    // supplemental" per template); nullptr: netsh does not set it there.
    const char* name;
    WordList global_words;    // netsh's word of each value, on Vista and 7
    WordList template_words;  // per template, where client releases refuse WMI's write
    const char* to_default;   // the word that puts Windows' default back on Vista and 7
    ChoiceList choices;       // where netsh knows fewer choices than WMI: those of Vista and 7
};

// What the setting's check looks for: whether the check reads it on a machine (nullptr: no
// check does), the value that harms (kAnyOther: every value but `fix`) and the one its fix
// sets.
struct CheckValues {
    bool (*reads)(const StackMachine& machine);
    uint32_t harmful;
    uint32_t fix;
};

struct StackEntry {
    StackSetting setting;
    const char* key;   // the id a snapshot names it by
    const char* name;  // the row's label, before its instance
    Store store;
    const char* property;  // the WMI property or registry value name; nullptr: the instance
    Access access;
    TakesEffect takes_effect;
    ChoiceList choices;  // when the setting has names, else
    Range range;
    DefaultOf windows_default;
    const char* default_text;  // nullptr: the default's choice or number, or "(not set)"
    NetshWords netsh;
    CheckValues check;
};

// The numbers of the choices the reads and checks name, as WMI numbers them.
constexpr uint32_t kDisabled = 0;  // of an on/off setting, and the lowest auto-tuning level
constexpr uint32_t kEnabled = 1;
constexpr uint32_t kLevelNormal = 3;
constexpr uint32_t kLevelExperimental = 4;
constexpr uint32_t kPolicyNotConfigured = 255;
constexpr uint32_t kEffectiveLocal = 0;
constexpr uint32_t kEffectiveGroupPolicy = 1;
constexpr uint32_t kProviderDefault = 0;
constexpr uint32_t kNewReno = 1;
constexpr uint32_t kCtcp = 2;
constexpr uint32_t kDctcp = 3;
constexpr uint32_t kCubic = 5;
constexpr uint32_t kBbr2 = 6;
constexpr uint32_t kAnyOther = UINT32_MAX;

namespace settings {

// The rows' parts.

constexpr Choice kLevels[] = {{0, "Disabled"},
                              {1, "Highly restricted"},
                              {2, "Restricted"},
                              {3, "Normal"},
                              {4, "Experimental"}};
constexpr Choice kPolicyLevels[] = {{0, "Disabled"},     {1, "Highly restricted"},
                                    {2, "Restricted"},   {3, "Normal"},
                                    {4, "Experimental"}, {255, "Not configured"}};
constexpr Choice kEffective[] = {{0, "Local"}, {1, "Group Policy"}};
constexpr Choice kProviders[] = {{0, "Default"}, {1, "NewReno"}, {2, "CTCP"}, {3, "DCTCP"},
                                 {4, "LEDBAT"},  {5, "CUBIC"},   {6, "BBR2"}};
// Vista and 7 know the provider only globally, and only these.
constexpr Choice kOldProviders[] = {{0, "Default"}, {1, "NewReno"}, {2, "CTCP"}};
constexpr Choice kOnOff[] = {{0, "Disabled"}, {1, "Enabled"}};
constexpr Choice kTimestamps[] = {{0, "Disabled"}, {1, "Enabled"}, {2, "Allowed"}};

constexpr const char* kLevelWords[] = {"disabled", "highlyrestricted", "restricted", "normal",
                                       "experimental"};
constexpr const char* kProviderWords[] = {"default", "newreno", "ctcp", "dctcp",
                                          "ledbat",  "cubic",   "bbr2"};
// Vista and 7 name NewReno "none".
constexpr const char* kOldProviderWords[] = {"default", "none", "ctcp"};
constexpr const char* kSwitchWords[] = {"disabled", "enabled"};

// Round timeouts: RFC 6298's one second, RFC 1122's three, and one between.
constexpr uint32_t kRtoValues[] = {1000, 2000, 3000};
constexpr uint32_t kSynRetransmissions[] = {2, 3, 4, 5, 6, 7, 8};
// The usual MTUs: IPv4's least, IPv6's least, a tunnel's, PPPoE's, Ethernet's, jumbo frames.
constexpr uint32_t kMtuValues[] = {576, 1280, 1400, 1450, 1480, 1492, 1500, 9000};
// An ACK for every segment (the latency fix games and trading tools suggest), Windows' own
// two, and a little more delay.
constexpr uint32_t kAckFrequencies[] = {1, 2, 3, 4};

template <size_t N>
constexpr ChoiceList List(const Choice (&choices)[N]) {
    return {choices, N};
}
template <size_t N>
constexpr WordList Words(const char* const (&words)[N]) {
    return {words, N};
}
template <size_t N>
constexpr Range Between(uint32_t minimum, uint32_t maximum, const uint32_t (&usual)[N]) {
    return {minimum, maximum, {usual, N}};
}
constexpr ChoiceList kNoChoices = {nullptr, 0};
constexpr WordList kNoWords = {nullptr, 0};
constexpr Range kNoRange = {0, 0, {nullptr, 0}};
// A stray registry value, whatever number it holds.
constexpr Range kAnyValue = {0, UINT32_MAX, {nullptr, 0}};

// Windows' defaults.
template <uint32_t Value>
std::optional<uint32_t> Always(const std::string&, const StackMachine&) {
    return Value;
}
inline std::optional<uint32_t> NoDefault(const std::string&, const StackMachine&) {
    return std::nullopt;
}
// Windows 10 1709 took RFC 6298's 1 s initial timeout for RFC 1122's 3 s and, to give a
// connection as long to open, four SYN retransmissions in place of two (Microsoft's
// networking blog on the TCP changes of the Fall Creators Update).
template <uint32_t Before, uint32_t Since>
std::optional<uint32_t> Since1709(const std::string&, const StackMachine& machine) {
    return machine.CubicByDefault() ? Since : Before;
}
// Server 2022 turned ECN on; clients keep it off.
inline std::optional<uint32_t> EcnDefault(const std::string&, const StackMachine& machine) {
    constexpr uint32_t kBuildServer2022 = 20348;
    return machine.detail.server && machine.detail.build >= kBuildServer2022 ? kEnabled : kDisabled;
}
// The provider a template uses when left at Default. Vista and 7: NewReno on clients and
// CTCP on servers ("netsh interface tcp set global congestionprovider"); Windows 10 1709 and
// Server 1709 made CUBIC the default of every template (Microsoft's networking blog on CUBIC
// in the Fall Creators Update); before, the Internet templates had CTCP and the Datacenter
// ones DCTCP (Get-NetTCPSetting on Windows 8 and Server 2012); Compat keeps NewReno.
inline std::optional<uint32_t> ProviderDefault(const std::string& instance,
                                               const StackMachine& machine) {
    if (instance == "Compat") {
        return kNewReno;
    }
    if (machine.Reach() == StackReach::Netsh) {
        return machine.detail.server ? kCtcp : kNewReno;
    }
    if (machine.CubicByDefault()) {
        return kCubic;
    }
    return instance.rfind("Datacenter", 0) == 0 ? kDctcp : kCtcp;
}

// When a check reads the setting.
inline bool EveryMachine(const StackMachine&) {
    return true;
}
inline bool HangsWithBbr2(const StackMachine& machine) {
    return machine.Bbr2LoopbackHang();
}
inline bool ManyProcessors(const StackMachine& machine) {
    return machine.processors > 1;
}

// netsh: Vista and 7 set these with "int tcp set global NAME=WORD".
template <size_t N>
constexpr NetshWords OldGlobal(const char* name, const char* const (&words)[N],
                               const char* to_default = "default") {
    return {name, {words, N}, kNoWords, to_default, kNoChoices};
}
// Vista and 7 set it globally, later releases per template ("int tcp set supplemental").
template <size_t O, size_t N, size_t C>
constexpr NetshWords PerTemplate(const char* name, const char* const (&old_words)[O],
                                 const char* const (&words)[N], const Choice (&old_choices)[C]) {
    return {name, {old_words, O}, {words, N}, "default", {old_choices, C}};
}
constexpr NetshWords kNoNetsh = {nullptr, kNoWords, kNoWords, nullptr, kNoChoices};

constexpr CheckValues Harms(bool (*reads)(const StackMachine&), uint32_t harmful, uint32_t fix) {
    return {reads, harmful, fix};
}
constexpr CheckValues kNoCheck = {nullptr, 0, 0};
// Read by a check that judges it by more than one value of its own.
constexpr CheckValues kRead = {EveryMachine, 0, 0};

using S = StackSetting;
using T = TakesEffect;
using A = Access;

// Each row: the setting, its snapshot key, its label, where Windows keeps it and the WMI
// property or registry value name, whether Zorvane may change it, when a change takes effect, its
// choices or its range, Windows' default (as a number, or a text of its own), netsh's words
// and its check.
constexpr StackEntry kTable[] = {
    // Normal by default: netsh's help of "set global autotuninglevel".
    {S::AutoTuningLocal, "auto-tuning", "Receive window auto-tuning", Store::TcpGlobal,
     "AutoTuningLevelLocal", A::Settable, T::NewConnections, List(kLevels), kNoRange,
     Always<kLevelNormal>, nullptr, OldGlobal("autotuninglevel", kLevelWords, "normal"),
     Harms(EveryMachine, kAnyOther, kLevelNormal)},
    {S::AutoTuningGroupPolicy, "auto-tuning-group-policy",
     "Receive window auto-tuning by Group Policy", Store::TcpGlobal, "AutoTuningLevelGroupPolicy",
     A::ReadOnly, T::NewConnections, List(kPolicyLevels), kNoRange, Always<kPolicyNotConfigured>,
     nullptr, kNoNetsh, Harms(EveryMachine, kAnyOther, kLevelNormal)},
    {S::AutoTuningEffective, "auto-tuning-effective", "Receive window auto-tuning in effect",
     Store::TcpGlobal, "AutoTuningLevelEffective", A::ReadOnly, T::NewConnections, List(kEffective),
     kNoRange, Always<kEffectiveLocal>, nullptr, kNoNetsh, kRead},
    // Its check's fix of Compat is NewReno, that template's own default.
    {S::CongestionProvider, "congestion-provider", "Congestion provider", Store::TcpTemplates,
     "CongestionProvider", A::Settable, T::NewConnections, List(kProviders), kNoRange,
     ProviderDefault, nullptr,
     PerTemplate("congestionprovider", kOldProviderWords, kProviderWords, kOldProviders),
     Harms(HangsWithBbr2, kBbr2, kCubic)},
    {S::Ecn, "ecn", "ECN capability", Store::TcpGlobal, "EcnCapability", A::Settable,
     T::NewConnections, List(kOnOff), kNoRange, EcnDefault, nullptr,
     OldGlobal("ecncapability", kSwitchWords), kNoCheck},
    {S::Timestamps, "timestamps", "TCP timestamps", Store::TcpGlobal, "Timestamps", A::Settable,
     T::NewConnections, List(kTimestamps), kNoRange, Always<kDisabled>, nullptr,
     OldGlobal("timestamps", kSwitchWords), kNoCheck},
    {S::InitialRto, "initial-rto", "Initial retransmission timeout (ms)", Store::TcpGlobal,
     "InitialRto", A::Settable, T::NewConnections, kNoChoices, Between(300, 3000, kRtoValues),
     Since1709<3000, 1000>, nullptr, kNoNetsh, kNoCheck},
    {S::MaxSynRetransmissions, "max-syn-retransmissions", "Maximum SYN retransmissions",
     Store::TcpGlobal, "MaxSynRetransmissions", A::Settable, T::NewConnections, kNoChoices,
     Between(2, 8, kSynRetransmissions), Since1709<2, 4>, nullptr, kNoNetsh, kNoCheck},
    {S::NonSackRttResiliency, "non-sack-rtt-resiliency", "Non-SACK RTT resiliency",
     Store::TcpGlobal, "NonSackRttResiliency", A::Settable, T::NewConnections, List(kOnOff),
     kNoRange, Always<kDisabled>, nullptr, kNoNetsh, kNoCheck},
    {S::ReceiveSideScaling, "receive-side-scaling", "Receive-side scaling", Store::Offload,
     "ReceiveSideScaling", A::Settable, T::AdapterRestart, List(kOnOff), kNoRange, Always<kEnabled>,
     nullptr, kNoNetsh, Harms(ManyProcessors, kDisabled, kEnabled)},
    {S::ReceiveSegmentCoalescing, "receive-segment-coalescing", "Receive segment coalescing",
     Store::Offload, "ReceiveSegmentCoalescing", A::Settable, T::AdapterRestart, List(kOnOff),
     kNoRange, Always<kEnabled>, nullptr, kNoNetsh, kNoCheck},
    // The MTUs' check: below 576 (IPv4) or 1280 (IPv6), or above the link's MTU.
    {S::Ipv4Mtu, "ipv4-mtu", "IPv4 MTU", Store::IpInterface, "NlMtu", A::Settable, T::AtOnce,
     kNoChoices, Between(576, 0, kMtuValues), NoDefault, "The adapter's own", kNoNetsh, kRead},
    {S::Ipv6Mtu, "ipv6-mtu", "IPv6 MTU", Store::IpInterface, "NlMtu", A::Settable, T::AtOnce,
     kNoChoices, Between(1280, 0, kMtuValues), NoDefault, "The adapter's own", kNoNetsh, kRead},
    // With no value, an ACK for every second segment (the TCP/IP registry reference's
    // TcpAckFrequency: 1-255, default 2).
    {S::TcpAckFrequency, "tcp-ack-frequency", "TcpAckFrequency", Store::AdapterRegistry,
     "TcpAckFrequency", A::Settable, T::AdapterRestart, kNoChoices,
     Between(1, 255, kAckFrequencies), Always<2>, "(not set): 2", kNoNetsh, kNoCheck},
    // Tcpip\Parameters\Interfaces\TcpAckFrequency: never read.
    {S::MisplacedTcpAckFrequency, "misplaced-tcp-ack-frequency", "TcpAckFrequency, never read",
     Store::StrayRegistry, "TcpAckFrequency", A::Settable, T::Restart, kNoChoices, kAnyValue,
     NoDefault, nullptr, kNoNetsh, kRead},
    // TCPNoDelay under Tcpip\Parameters, \Interfaces or an adapter's key: no effect.
    {S::MisplacedTcpNoDelay, "misplaced-tcp-no-delay", "TCPNoDelay, no system-wide effect",
     Store::StrayRegistry, "TCPNoDelay", A::Settable, T::Restart, kNoChoices, kAnyValue, NoDefault,
     nullptr, kNoNetsh, kRead},
    // TcpWindowSize / GlobalMaxTcpWindowSize, ignored since Vista: the instance is the name.
    {S::ClassicReceiveWindow, "classic-receive-window", "Receive window, ignored since Vista",
     Store::StrayRegistry, nullptr, A::Settable, T::Restart, kNoChoices, kAnyValue, NoDefault,
     nullptr, kNoNetsh, kRead},
};

constexpr bool InEnumOrder() {
    for (size_t i = 0; i < sizeof(kTable) / sizeof(kTable[0]); ++i) {
        if (static_cast<size_t>(kTable[i].setting) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InEnumOrder(), "one row per setting, in the enum's order");

}  // namespace settings

constexpr const StackEntry& EntryOf(StackSetting setting) {
    return settings::kTable[static_cast<size_t>(setting)];
}

}  // namespace zv::netstack
