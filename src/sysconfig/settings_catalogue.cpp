#include "sysconfig/settings_catalogue.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "common/flags.h"

namespace zv {
namespace {

constexpr int32_t kSynAttackProtect = 2;
constexpr int32_t kKeepAliveInterval = 1000;

// The spellings are those the program has always written; the registry ignores case, but
// a user comparing exports sees the same text.
const char kMstcp[] = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const char kMstcpUpper[] = "SYSTEM\\CurrentControlSet\\Services\\VxD\\MSTCP";
const char kNetTrans[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
const char kTcpip[] = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
const char kInterfaces[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const char kServices[] = "SYSTEM\\CurrentControlSet\\Services\\";
const char kInterfaceService[] = "\\Parameters\\Tcpip";
const char kNdiCache[] = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const char kInternet9x[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kInternetNT[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

const char kReceiveWindow[] = "Receive window (RWIN)";
const char kTimeToLive[] = "Time to live (TTL)";
const char kKeepAlive[] = "Keep-alive time";
const char kPathMtu[] = "Path MTU discovery";
const char kBlackHole[] = "Black-hole router detection";
const char kSynProtection[] = "SYN attack protection";
const char kHttp10[] = "Connections per HTTP 1.0 server";
const char kHttp11[] = "Connections per HTTP 1.1 server";
const char kMtu[] = "MTU";
const char kMss[] = "MSS";
const char kNdi[] = "NDI cache size";

const char kAutoTuning[] = "Ignored since Windows Vista: receive window auto-tuning";
const char kInternetExplorer[] = "Read only by Internet Explorer";
const char kNot9x[] = "Not read by the Windows 9x stack";
const char kNotNt[] = "A Windows 9x key: not read by the NT family";

using R = WindowsRelease;
// The 9x line has ended, so its range is closed; the NT ranges run on into every release
// Windows adds unless a release stopped reading the value.
constexpr ReleaseRange kAll9x = ReleaseRange::From(R::Windows95, R::WindowsMe);
constexpr ReleaseRange kAllNt = ReleaseRange::Since(R::WindowsNt4);
constexpr ReleaseRange kUntil2003 = ReleaseRange::From(R::WindowsNt4, R::Windows2003);
constexpr ReleaseRange kSince2000 = ReleaseRange::Since(R::Windows2000);
constexpr ReleaseRange kNt4Only = ReleaseRange::Only(R::WindowsNt4);
constexpr ReleaseRange kNone = ReleaseRange::None();
using S = ValueSource;
using P = KeyPlace;
constexpr RegistryLayout k9x = RegistryLayout::Win9x;
constexpr RegistryLayout kNt = RegistryLayout::Nt;

// Within each layout the rows are in the order Apply writes them; the per-interface rows
// of a layout stand together, as Apply writes them all for one interface before the next.
const std::vector<CatalogueEntry> kCatalogue = {
    {k9x, kReceiveWindow, P::Fixed, kMstcp, "DefaultRcvWindow", kRegDword, S::Rwin, "8192", kAll9x,
     nullptr, nullptr},
    // The 9x stack reads its DefaultTTL as text, so it is the one value of either layout
    // written as a string; the NT stack takes the same number as a DWORD.
    {k9x, kTimeToLive, P::Fixed, kMstcp, "DefaultTTL", kRegSz, S::Ttl, "32", kAll9x, nullptr,
     nullptr},
    {k9x, kKeepAlive, P::Fixed, kMstcp, "SessionKeepAlive", kRegDword, S::KeepAliveTime,
     "(not set)", kAll9x, nullptr, nullptr},
    {k9x, kPathMtu, P::Fixed, kMstcp, "PMTUDiscovery", kRegDword, S::Pmtu, "1", kAll9x, nullptr,
     nullptr},
    {k9x, kBlackHole, P::Fixed, kMstcp, "PMTUBlackHoleDetect", kRegDword, S::BlackHole, "0", kAll9x,
     nullptr, nullptr},
    {k9x, kSynProtection, P::Fixed, kMstcpUpper, "SYNAttackProtect", kRegDword, S::SynAttackProtect,
     "(not set)", kNone, kNot9x, nullptr},
    {k9x, kHttp10, P::Fixed, kInternet9x, "MaxConnectionsPer1_0Server", kRegDword, S::Mscps0, "4",
     kAll9x, nullptr, kInternetExplorer},
    {k9x, kHttp11, P::Fixed, kInternet9x, "MaxConnectionsPerServer", kRegDword, S::Mscps1, "2",
     kAll9x, nullptr, kInternetExplorer},
    {k9x, kMtu, P::UnderInterface, nullptr, "MaxMTU", kRegDword, S::Mtu, "The adapter's own",
     kAll9x, nullptr, nullptr},
    {k9x, kMss, P::UnderInterface, nullptr, "MaxMSS", kRegDword, S::Mss, "MTU - 40", kAll9x,
     nullptr, nullptr},
    {k9x, kNdi, P::Fixed, kNdiCache, "", kRegDword, S::NdiCache, "(not set)", kAll9x, nullptr,
     nullptr},

    {kNt, kReceiveWindow, P::Fixed, kTcpip, "GlobalMaxTcpWindowSize", kRegDword, S::Rwin, "65535",
     kUntil2003, kAutoTuning, nullptr},
    {kNt, kReceiveWindow, P::Fixed, kTcpip, "TcpWindowSize", kRegDword, S::Rwin,
     "17520 on Ethernet", kUntil2003, kAutoTuning, nullptr},
    {kNt, kTimeToLive, P::Fixed, kTcpip, "DefaultTTL", kRegDword, S::Ttl, "128", kAllNt, nullptr,
     nullptr},
    {kNt, kKeepAlive, P::Fixed, kTcpip, "KeepAliveTime", kRegDword, S::KeepAliveTime,
     "7200000 (2 hours)", kAllNt, nullptr, nullptr},
    {kNt, "Keep-alive interval", P::Fixed, kTcpip, "KeepAliveInterval", kRegDword,
     S::KeepAliveInterval, "1000", kAllNt, nullptr, nullptr},
    {kNt, kPathMtu, P::Fixed, kTcpip, "EnablePMTUDiscovery", kRegDword, S::Pmtu, "1", kAllNt,
     nullptr, nullptr},
    {kNt, kBlackHole, P::Fixed, kTcpip, "EnablePMTUBHDetect", kRegDword, S::BlackHole, "0", kAllNt,
     nullptr, nullptr},
    {kNt, kSynProtection, P::Fixed, kTcpip, "SYNAttackProtect", kRegDword, S::SynAttackProtect, "0",
     kUntil2003, "Always on since Windows Vista", nullptr},
    {kNt, kHttp10, P::Fixed, kInternetNT, "MaxConnectionsPer1_0Server", kRegDword, S::Mscps0, "4",
     kAllNt, nullptr, kInternetExplorer},
    {kNt, kHttp11, P::Fixed, kInternetNT, "MaxConnectionsPerServer", kRegDword, S::Mscps1, "2",
     kAllNt, nullptr, kInternetExplorer},
    {kNt, kMtu, P::UnderInterface, nullptr, "MTU", kRegDword, S::Mtu, "The adapter's own",
     kSince2000, "Read since Windows 2000", nullptr},
    {kNt, kMss, P::UnderInterface, nullptr, "MSS", kRegDword, S::Mss, "(not set)", kNone,
     "Not read: Windows derives the MSS from the MTU", nullptr},
    {kNt, kMtu, P::InterfaceService, nullptr, "MTU", kRegDword, S::Mtu, "The adapter's own",
     kNt4Only,
     "Read only by Windows NT 4.0; later releases read the "
     "Interfaces key",
     nullptr},
    {kNt, kNdi, P::Fixed, kNdiCache, "", kRegDword, S::NdiCache, "(not set)", kNone, kNotNt,
     nullptr},
};

// Reckoned in 64 bits, as the writer takes any record: an MTU near the least 32-bit value
// gives the least MSS, never one that wrapped round to a large window.
int32_t Mss(int32_t mtu) {
    if (mtu == NotSet) {
        return NotSet;
    }
    int64_t mss = int64_t{mtu} - kIpAndTcpHeaders;
    return static_cast<int32_t>(std::max<int64_t>(mss, std::numeric_limits<int32_t>::min()));
}

std::string KeyFor(const CatalogueEntry& entry, const std::string& interface_name) {
    switch (entry.place) {
        case KeyPlace::Fixed:
            return entry.key;
        case KeyPlace::UnderInterface:
            return InterfaceKeyOf(entry.layout) + "\\" + interface_name;
        case KeyPlace::InterfaceService:
            return kServices + interface_name + kInterfaceService;
    }
    return {};
}

std::vector<std::string> PartsOf(const std::string& key) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t slash = key.find('\\'); slash != std::string::npos;
         start = slash + 1, slash = key.find('\\', start)) {
        parts.push_back(key.substr(start, slash - start));
    }
    parts.push_back(key.substr(start));
    return parts;
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

constexpr char kAnyInterface[] = "*";

enum class KeyMatch { None, Above, Whole };

// Whether the key is the entry's key or one above it, part by part, any interface name
// standing for "*" (which `interface_name` gets).
KeyMatch MatchKey(const CatalogueEntry& entry, const std::string& key,
                  std::string* interface_name) {
    std::vector<std::string> pattern = PartsOf(KeyFor(entry, kAnyInterface));
    std::vector<std::string> parts = PartsOf(key);
    if (parts.size() > pattern.size()) {
        return KeyMatch::None;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty()) {
            return KeyMatch::None;
        }
        if (pattern[i] == kAnyInterface) {
            *interface_name = parts[i];
        } else if (!SameText(parts[i], pattern[i])) {
            return KeyMatch::None;
        }
    }
    return parts.size() == pattern.size() ? KeyMatch::Whole : KeyMatch::Above;
}

EntryData Tuning(int32_t value) {
    return {value, value == NotSet};
}

EntryData Fixed(int32_t value) {
    return {value, false};
}

}  // namespace

const std::vector<CatalogueEntry>& SettingsCatalogue() {
    return kCatalogue;
}

std::string InterfaceKeyOf(RegistryLayout layout) {
    return layout == RegistryLayout::Win9x ? kNetTrans : kInterfaces;
}

std::vector<CatalogueRow> CatalogueRows(RegistryPort& registry, WindowsRelease release) {
    std::vector<CatalogueRow> rows;
    const RegistryLayout layout = PropertiesOf(release).layout;
    if (layout == RegistryLayout::None) {
        return rows;
    }
    std::vector<const CatalogueEntry*> per_interface;
    auto each_interface = [&] {
        if (per_interface.empty()) {
            return;
        }
        EnumerateSubkeys(registry, RegistryRoot::LocalMachine, InterfaceKeyOf(layout),
                         [&](const std::string& name) {
                             for (const CatalogueEntry* entry : per_interface) {
                                 rows.push_back({entry, KeyFor(*entry, name), name});
                             }
                         });
        per_interface.clear();
    };
    for (const CatalogueEntry& entry : kCatalogue) {
        if (entry.layout != layout) {
            continue;
        }
        if (entry.place != KeyPlace::Fixed) {
            per_interface.push_back(&entry);
            continue;
        }
        each_interface();
        rows.push_back({&entry, entry.key, ""});
    }
    each_interface();
    return rows;
}

bool IsCatalogueValue(const std::string& key, const std::string& name, std::string* adapter_key) {
    for (const CatalogueEntry& entry : kCatalogue) {
        std::string interface_name;
        if (MatchKey(entry, key, &interface_name) == KeyMatch::Whole &&
            SameText(name, entry.value_name)) {
            *adapter_key = entry.place == KeyPlace::Fixed
                               ? std::string()
                               : InterfaceKeyOf(entry.layout) + "\\" + interface_name;
            return true;
        }
    }
    return false;
}

bool IsCatalogueKeyOrAbove(const std::string& key) {
    std::string interface_name;
    return std::any_of(kCatalogue.begin(), kCatalogue.end(), [&](const CatalogueEntry& entry) {
        return MatchKey(entry, key, &interface_name) != KeyMatch::None;
    });
}

std::string RowLabel(const CatalogueRow& row) {
    const CatalogueEntry& entry = *row.entry;
    std::string name = *entry.value_name != '\0' ? entry.value_name : "(default value)";
    std::string place;
    if (entry.place == KeyPlace::UnderInterface) {
        std::string parent = InterfaceKeyOf(entry.layout);
        place = parent.substr(parent.rfind('\\') + 1) + "\\" + row.interface_name + "\\";
    } else if (entry.place == KeyPlace::InterfaceService) {
        place = "Services\\" + row.interface_name + kInterfaceService + "\\";
    }
    return std::string(entry.setting) + ": " + place + name;
}

EntryData DataFor(const CatalogueEntry& entry, const TuningSettings& s) {
    switch (entry.source) {
        case ValueSource::Rwin:
            return Tuning(s.RWIN);
        case ValueSource::Ttl:
            return Tuning(s.TTL);
        case ValueSource::KeepAliveTime:
            return Tuning(s.SKA);
        case ValueSource::KeepAliveInterval:
            return Fixed(kKeepAliveInterval);
        case ValueSource::Pmtu:
            return Fixed(FlagToChecked(s.PMTU));
        case ValueSource::BlackHole:
            return Fixed(FlagToChecked(s.BlackHole));
        case ValueSource::SynAttackProtect:
            return Fixed(kSynAttackProtect);
        case ValueSource::Mscps0:
            return Fixed(s.MSCPS0);
        case ValueSource::Mscps1:
            return Fixed(s.MSCPS1);
        case ValueSource::Mtu:
            return Tuning(s.MTU);
        case ValueSource::Mss:
            return {Mss(s.MTU), s.MTU == NotSet};
        case ValueSource::NdiCache:
            return Tuning(s.NDI);
    }
    return Fixed(0);
}

PlannedWrite PlannedWriteFor(const CatalogueEntry& entry, const TuningSettings& settings) {
    EntryData data = DataFor(entry, settings);
    return PlanRegistryWrite(entry.kind, data.data, data.remove);
}

Reading ReadingOn(const CatalogueEntry& entry, WindowsRelease release) {
    if (!entry.readers.Includes(release)) {
        return Reading::NotRead;
    }
    return entry.partly_read != nullptr ? Reading::Partly : Reading::Read;
}

std::string ReadingText(const CatalogueEntry& entry, WindowsRelease release) {
    switch (ReadingOn(entry, release)) {
        case Reading::Read:
            return "Yes";
        case Reading::Partly:
            return std::string("Partly: ") + entry.partly_read;
        case Reading::NotRead:
            break;
    }
    return std::string("No: ") +
           (entry.why_not_read != nullptr ? entry.why_not_read : "Not read by this Windows");
}

}  // namespace zv
