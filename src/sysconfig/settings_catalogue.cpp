#include "sysconfig/settings_catalogue.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <limits>

#include "common/flags.h"

namespace zv {
namespace {

constexpr int32_t kSynAttackProtect = 2;
constexpr int32_t kKeepAliveIntervalMs = 1000;

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

// Reckoned in 64 bits, as the writer takes any record: an MTU near the least 32-bit value
// gives the least MSS, never one that wrapped round to a large window.
int32_t Mss(int32_t mtu) {
    if (mtu == NotSet) {
        return NotSet;
    }
    int64_t mss = int64_t{mtu} - kIpAndTcpHeaders;
    return static_cast<int32_t>(std::max<int64_t>(mss, std::numeric_limits<int32_t>::min()));
}

// A tuning value: NotSet leaves it to Windows, and the writer removes it.
EntryData Tuning(int32_t value) {
    return {value, value == NotSet};
}

EntryData Fixed(int32_t value) {
    return {value, false};
}

using Record = const TuningSettings&;
constexpr CatalogueSetting kReceiveWindow = {"Receive window (RWIN)",
                                             [](Record s) { return Tuning(s.RWIN); }};
constexpr CatalogueSetting kTimeToLive = {"Time to live (TTL)",
                                          [](Record s) { return Tuning(s.TTL); }};
constexpr CatalogueSetting kKeepAlive = {"Keep-alive time", [](Record s) { return Tuning(s.SKA); }};
constexpr CatalogueSetting kKeepAliveInterval = {
    "Keep-alive interval", [](Record) { return Fixed(kKeepAliveIntervalMs); }};
constexpr CatalogueSetting kPathMtu = {"Path MTU discovery",
                                       [](Record s) { return Fixed(FlagToChecked(s.PMTU)); }};
constexpr CatalogueSetting kBlackHole = {
    "Black-hole router detection", [](Record s) { return Fixed(FlagToChecked(s.BlackHole)); }};
constexpr CatalogueSetting kSynProtection = {"SYN attack protection",
                                             [](Record) { return Fixed(kSynAttackProtect); }};
constexpr CatalogueSetting kHttp10 = {"Connections per HTTP 1.0 server",
                                      [](Record s) { return Fixed(s.Http10Connections); }};
constexpr CatalogueSetting kHttp11 = {"Connections per HTTP 1.1 server",
                                      [](Record s) { return Fixed(s.Http11Connections); }};
constexpr CatalogueSetting kMtu = {"MTU", [](Record s) { return Tuning(s.MTU); }};
constexpr CatalogueSetting kMss = {"MSS", [](Record s) {
                                       return EntryData{Mss(s.MTU), s.MTU == NotSet};
                                   }};
constexpr CatalogueSetting kNdi = {"NDI cache size", [](Record s) { return Tuning(s.NDI); }};

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
using P = KeyPlace;
constexpr RegistryLayout k9x = RegistryLayout::Win9x;
constexpr RegistryLayout kNt = RegistryLayout::Nt;

// Within each layout the rows are in the order Apply writes them; the per-interface rows
// of a layout stand together, as Apply writes them all for one interface before the next.
constexpr CatalogueEntry kCatalogue[] = {
    {k9x, kReceiveWindow, P::Fixed, kMstcp, "DefaultRcvWindow", kRegDword, "8192", kAll9x},
    // The 9x stack reads its DefaultTTL as text, so it is the one value of either layout
    // written as a string; the NT stack takes the same number as a DWORD.
    {k9x, kTimeToLive, P::Fixed, kMstcp, "DefaultTTL", kRegSz, "32", kAll9x},
    {k9x, kKeepAlive, P::Fixed, kMstcp, "SessionKeepAlive", kRegDword, "(not set)", kAll9x},
    {k9x, kPathMtu, P::Fixed, kMstcp, "PMTUDiscovery", kRegDword, "1", kAll9x},
    {k9x, kBlackHole, P::Fixed, kMstcp, "PMTUBlackHoleDetect", kRegDword, "0", kAll9x},
    {k9x, kSynProtection, P::Fixed, kMstcpUpper, "SYNAttackProtect", kRegDword, "(not set)", kNone,
     kNot9x},
    {k9x, kHttp10, P::Fixed, kInternet9x, "MaxConnectionsPer1_0Server", kRegDword, "4", kAll9x,
     nullptr, kInternetExplorer},
    {k9x, kHttp11, P::Fixed, kInternet9x, "MaxConnectionsPerServer", kRegDword, "2", kAll9x,
     nullptr, kInternetExplorer},
    {k9x, kMtu, P::UnderInterface, nullptr, "MaxMTU", kRegDword, "The adapter's own", kAll9x},
    {k9x, kMss, P::UnderInterface, nullptr, "MaxMSS", kRegDword, "MTU - 40", kAll9x},
    {k9x, kNdi, P::Fixed, kNdiCache, "", kRegDword, "(not set)", kAll9x},

    {kNt, kReceiveWindow, P::Fixed, kTcpip, "GlobalMaxTcpWindowSize", kRegDword, "65535",
     kUntil2003, kAutoTuning},
    {kNt, kReceiveWindow, P::Fixed, kTcpip, "TcpWindowSize", kRegDword, "17520 on Ethernet",
     kUntil2003, kAutoTuning},
    {kNt, kTimeToLive, P::Fixed, kTcpip, "DefaultTTL", kRegDword, "128", kAllNt},
    {kNt, kKeepAlive, P::Fixed, kTcpip, "KeepAliveTime", kRegDword, "7200000 (2 hours)", kAllNt},
    {kNt, kKeepAliveInterval, P::Fixed, kTcpip, "KeepAliveInterval", kRegDword, "1000", kAllNt},
    {kNt, kPathMtu, P::Fixed, kTcpip, "EnablePMTUDiscovery", kRegDword, "1", kAllNt},
    {kNt, kBlackHole, P::Fixed, kTcpip, "EnablePMTUBHDetect", kRegDword, "0", kAllNt},
    {kNt, kSynProtection, P::Fixed, kTcpip, "SYNAttackProtect", kRegDword, "0", kUntil2003,
     "Always on since Windows Vista"},
    {kNt, kHttp10, P::Fixed, kInternetNT, "MaxConnectionsPer1_0Server", kRegDword, "4", kAllNt,
     nullptr, kInternetExplorer},
    {kNt, kHttp11, P::Fixed, kInternetNT, "MaxConnectionsPerServer", kRegDword, "2", kAllNt,
     nullptr, kInternetExplorer},
    {kNt, kMtu, P::UnderInterface, nullptr, "MTU", kRegDword, "The adapter's own", kSince2000,
     "Read since Windows 2000"},
    {kNt, kMss, P::UnderInterface, nullptr, "MSS", kRegDword, "(not set)", kNone,
     "Not read: Windows derives the MSS from the MTU"},
    {kNt, kMtu, P::InterfaceService, nullptr, "MTU", kRegDword, "The adapter's own", kNt4Only,
     "Read only by Windows NT 4.0; later releases read the Interfaces key"},
    {kNt, kNdi, P::Fixed, kNdiCache, "", kRegDword, "(not set)", kNone, kNotNt},
};

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

}  // namespace

CatalogueEntries SettingsCatalogue() {
    return {std::begin(kCatalogue), std::size(kCatalogue)};
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
    return std::any_of(std::begin(kCatalogue), std::end(kCatalogue),
                       [&](const CatalogueEntry& entry) {
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
    return std::string(entry.setting.name) + ": " + place + name;
}

EntryData DataFor(const CatalogueEntry& entry, const TuningSettings& settings) {
    return entry.setting.data_of(settings);
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
