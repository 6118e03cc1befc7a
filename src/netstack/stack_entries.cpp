#include "netstack/stack_entries.h"

#include <iterator>

namespace zv::netstack {
namespace {

using S = StackSetting;
using T = TakesEffect;

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
constexpr Choice kOnOff[] = {{0, "Disabled"}, {1, "Enabled"}};
constexpr Choice kTimestamps[] = {{0, "Disabled"}, {1, "Enabled"}, {2, "Allowed"}};

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
constexpr ValueList Values(const uint32_t (&values)[N]) {
    return {values, N};
}
constexpr ChoiceList kNoChoices = {nullptr, 0};
constexpr ValueList kNoValues = {nullptr, 0};
constexpr uint32_t kAny = UINT32_MAX;

constexpr StackEntry kEntries[] = {
    {S::AutoTuningLocal, "auto-tuning", "Receive window auto-tuning", "AutoTuningLevelLocal",
     T::NewConnections, List(kLevels), 0, 0, kNoValues},
    {S::AutoTuningGroupPolicy, "auto-tuning-group-policy",
     "Receive window auto-tuning by Group Policy", "AutoTuningLevelGroupPolicy", T::NewConnections,
     List(kPolicyLevels), 0, 0, kNoValues},
    {S::AutoTuningEffective, "auto-tuning-effective", "Receive window auto-tuning in effect",
     "AutoTuningLevelEffective", T::NewConnections, List(kEffective), 0, 0, kNoValues},
    {S::CongestionProvider, "congestion-provider", "Congestion provider", "CongestionProvider",
     T::NewConnections, List(kProviders), 0, 0, kNoValues},
    {S::Ecn, "ecn", "ECN capability", "EcnCapability", T::NewConnections, List(kOnOff), 0, 0,
     kNoValues},
    {S::Timestamps, "timestamps", "TCP timestamps", "Timestamps", T::NewConnections,
     List(kTimestamps), 0, 0, kNoValues},
    {S::InitialRto, "initial-rto", "Initial retransmission timeout (ms)", "InitialRto",
     T::NewConnections, kNoChoices, 300, 3000, Values(kRtoValues)},
    {S::MaxSynRetransmissions, "max-syn-retransmissions", "Maximum SYN retransmissions",
     "MaxSynRetransmissions", T::NewConnections, kNoChoices, 2, 8, Values(kSynRetransmissions)},
    {S::NonSackRttResiliency, "non-sack-rtt-resiliency", "Non-SACK RTT resiliency",
     "NonSackRttResiliency", T::NewConnections, List(kOnOff), 0, 0, kNoValues},
    {S::ReceiveSideScaling, "receive-side-scaling", "Receive-side scaling", "ReceiveSideScaling",
     T::AdapterRestart, List(kOnOff), 0, 0, kNoValues},
    {S::ReceiveSegmentCoalescing, "receive-segment-coalescing", "Receive segment coalescing",
     "ReceiveSegmentCoalescing", T::AdapterRestart, List(kOnOff), 0, 0, kNoValues},
    {S::Ipv4Mtu, "ipv4-mtu", "IPv4 MTU", "NlMtu", T::AtOnce, kNoChoices, 576, 0,
     Values(kMtuValues)},
    {S::Ipv6Mtu, "ipv6-mtu", "IPv6 MTU", "NlMtu", T::AtOnce, kNoChoices, 1280, 0,
     Values(kMtuValues)},
    {S::TcpAckFrequency, "tcp-ack-frequency", "TcpAckFrequency", "TcpAckFrequency",
     T::AdapterRestart, kNoChoices, 1, 255, Values(kAckFrequencies)},
    {S::MisplacedTcpAckFrequency, "misplaced-tcp-ack-frequency", "TcpAckFrequency, never read",
     "TcpAckFrequency", T::Restart, kNoChoices, 0, kAny, kNoValues},
    {S::MisplacedTcpNoDelay, "misplaced-tcp-no-delay", "TCPNoDelay, no system-wide effect",
     "TCPNoDelay", T::Restart, kNoChoices, 0, kAny, kNoValues},
    {S::ClassicReceiveWindow, "classic-receive-window", "Receive window, ignored since Vista",
     nullptr, T::Restart, kNoChoices, 0, kAny, kNoValues},
};

constexpr bool InEnumOrder() {
    for (size_t i = 0; i < std::size(kEntries); ++i) {
        if (static_cast<size_t>(kEntries[i].setting) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InEnumOrder(), "one entry per setting, in the enum's order");

// The stack's own registry values as snapshot rows: a snapshot takes only an entry's value
// name (and the row's key); Apply never sees these.
EntryData NeverWritten(const TuningSettings&) {
    return {int32_t{0}, true};
}
constexpr CatalogueEntry kStackRegistryValues[] = {
    {RegistryLayout::Nt,
     {"TcpAckFrequency", NeverWritten},
     KeyPlace::Fixed,
     nullptr,
     "TcpAckFrequency",
     kRegDword,
     "2",
     ReleaseRange::None()},
    {RegistryLayout::Nt,
     {"TCPNoDelay", NeverWritten},
     KeyPlace::Fixed,
     nullptr,
     "TCPNoDelay",
     kRegDword,
     "(not set)",
     ReleaseRange::None()},
};

bool IsAdapterKeyName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

template <typename Entries>
const CatalogueEntry* FixedNtEntry(const Entries& entries, const std::string& name) {
    for (const CatalogueEntry& entry : entries) {
        if (entry.layout == RegistryLayout::Nt && entry.place == KeyPlace::Fixed &&
            name == entry.value_name) {
            return &entry;
        }
    }
    return nullptr;
}

bool IsAdapterKey(const std::string& key) {
    const std::string interfaces = std::string(kTcpipInterfaces) + "\\";
    return key.compare(0, interfaces.size(), interfaces) == 0 &&
           IsAdapterKeyName(key.substr(interfaces.size()));
}

}  // namespace

const StackEntry& EntryOf(StackSetting setting) {
    return kEntries[static_cast<size_t>(setting)];
}

bool RemovalOnly(StackSetting setting) {
    return setting == S::MisplacedTcpAckFrequency || setting == S::MisplacedTcpNoDelay ||
           setting == S::ClassicReceiveWindow;
}

bool IsRegistrySetting(StackSetting setting) {
    return setting == S::TcpAckFrequency || RemovalOnly(setting);
}

// A per-adapter row's instance is its Interfaces subkey; a misplaced value's, the key it
// was found in; a classic value's, its name under Parameters.
RegistryPlace RegistryPlaceOf(StackSetting setting, const std::string& instance) {
    switch (setting) {
        case S::TcpAckFrequency:
            return {std::string(kTcpipInterfaces) + "\\" + instance, "TcpAckFrequency"};
        case S::ClassicReceiveWindow:
            return {kTcpipParameters, instance};
        default:
            return {instance, EntryOf(setting).property};
    }
}

// A classic value takes the catalogue's own row, so that the first snapshot, which holds it
// from Zorvane's first Apply, keeps that older value, and Undo All Changes does not bring
// back what an Apply of Zorvane's wrote and a repair removed.
std::optional<CatalogueRow> SnapshotRowOf(const RowId& id) {
    if (!IsRegistrySetting(id.setting)) {
        return std::nullopt;
    }
    RegistryPlace place = RegistryPlaceOf(id.setting, id.instance);
    if (id.setting != S::ClassicReceiveWindow) {
        return CatalogueRow{FixedNtEntry(kStackRegistryValues, place.name), place.key, ""};
    }
    const CatalogueEntry* entry = FixedNtEntry(SettingsCatalogue(), place.name);
    return entry ? std::optional<CatalogueRow>(CatalogueRow{entry, entry->key, ""}) : std::nullopt;
}

bool IsStackRegistryValue(const std::string& key, const std::string& name) {
    bool known_key = key == kTcpipParameters || key == kTcpipInterfaces || IsAdapterKey(key);
    return known_key && (name == "TcpAckFrequency" || name == "TCPNoDelay");
}

const char* SettingKey(StackSetting setting) {
    return EntryOf(setting).key;
}

std::optional<StackSetting> SettingOfKey(const std::string& key) {
    for (const StackEntry& entry : kEntries) {
        if (key == entry.key) {
            return entry.setting;
        }
    }
    return std::nullopt;
}

}  // namespace zv::netstack
