#include "sysconfig/tcp_parameters.h"

#include <algorithm>
#include <limits>
#include <string>

#include "common/flags.h"
#include "sysconfig/registry_access.h"

namespace zv {
namespace {

constexpr int32_t kSynAttackProtect = 2;
constexpr int32_t kKeepAliveInterval = 1000;

const char kMstcp[] = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const char kMstcpUpper[] = "SYSTEM\\CurrentControlSet\\Services\\VxD\\MSTCP";
const char kNetTrans[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
const char kTcpip[] = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
const char kInterfaces[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const char kServices[] = "SYSTEM\\CurrentControlSet\\Services\\";
const char kNdiCache[] = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const char kInternet9x[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kInternetNT[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Runs the rows in order and remembers whether Windows refused any of them.
class RowWriter {
  public:
    explicit RowWriter(RegistryPort& registry) : registry_(registry) {}

    // A value that is removed when its source is NotSet.
    void Tuning(const std::string& path, const std::string& name, uint32_t kind, int32_t source,
                int32_t data) {
        Row(path, name, kind, data, source == NotSet);
    }
    void Tuning(const std::string& path, const std::string& name, int32_t value) {
        Tuning(path, name, kRegDword, value, value);
    }
    void Fixed(const std::string& path, const std::string& name, int32_t value) {
        Row(path, name, kRegDword, value, false);
    }
    void ForEachSubkey(const std::string& path,
                       const std::function<void(const std::string&)>& rows) {
        EnumerateSubkeys(registry_, RegistryRoot::LocalMachine, path, rows);
    }
    bool all_succeeded() const { return all_succeeded_; }

  private:
    void Row(const std::string& path, const std::string& name, uint32_t kind, int32_t data,
             bool remove) {
        int32_t result =
            SetRegistryValue(registry_, RegistryRoot::LocalMachine, path, name, kind, data, remove);
        bool removed_absent = remove && result == kErrorFileNotFound;
        if (result != kErrorSuccess && !removed_absent) {
            all_succeeded_ = false;
        }
    }

    RegistryPort& registry_;
    bool all_succeeded_ = true;
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

void Write9xLayout(RowWriter& rows, const TuningSettings& s) {
    rows.Tuning(kMstcp, "DefaultRcvWindow", s.RWIN);
    // The 9x stack reads its DefaultTTL as text, so it is the one value of either layout
    // written as a string; the NT stack takes the same number as a DWORD.
    rows.Tuning(kMstcp, "DefaultTTL", kRegSz, s.TTL, s.TTL);
    rows.Tuning(kMstcp, "SessionKeepAlive", s.SKA);
    rows.Fixed(kMstcp, "PMTUDiscovery", FlagToChecked(s.PMTU));
    rows.Fixed(kMstcp, "PMTUBlackHoleDetect", FlagToChecked(s.BlackHole));
    rows.Fixed(kMstcpUpper, "SYNAttackProtect", kSynAttackProtect);
    rows.Fixed(kInternet9x, "MaxConnectionsPer1_0Server", s.MSCPS0);
    rows.Fixed(kInternet9x, "MaxConnectionsPerServer", s.MSCPS1);
    rows.ForEachSubkey(kNetTrans, [&](const std::string& transport) {
        std::string key = std::string(kNetTrans) + "\\" + transport;
        rows.Tuning(key, "MaxMTU", s.MTU);
        rows.Tuning(key, "MaxMSS", kRegDword, s.MTU, Mss(s.MTU));
    });
    rows.Tuning(kNdiCache, "", s.NDI);
}

void WriteNtLayout(RowWriter& rows, const TuningSettings& s) {
    rows.Tuning(kTcpip, "GlobalMaxTcpWindowSize", s.RWIN);
    rows.Tuning(kTcpip, "TcpWindowSize", s.RWIN);
    rows.Tuning(kTcpip, "DefaultTTL", s.TTL);
    rows.Tuning(kTcpip, "KeepAliveTime", s.SKA);
    rows.Fixed(kTcpip, "KeepAliveInterval", kKeepAliveInterval);
    rows.Fixed(kTcpip, "EnablePMTUDiscovery", FlagToChecked(s.PMTU));
    rows.Fixed(kTcpip, "EnablePMTUBHDetect", FlagToChecked(s.BlackHole));
    rows.Fixed(kTcpip, "SYNAttackProtect", kSynAttackProtect);
    rows.Fixed(kInternetNT, "MaxConnectionsPer1_0Server", s.MSCPS0);
    rows.Fixed(kInternetNT, "MaxConnectionsPerServer", s.MSCPS1);
    rows.ForEachSubkey(kInterfaces, [&](const std::string& adapter) {
        std::string key = std::string(kInterfaces) + "\\" + adapter;
        rows.Tuning(key, "MTU", s.MTU);
        rows.Tuning(key, "MSS", kRegDword, s.MTU, Mss(s.MTU));
        rows.Tuning(kServices + adapter + "\\Parameters\\Tcpip", "MTU", s.MTU);
    });
    rows.Tuning(kNdiCache, "", s.NDI);
}

}  // namespace

bool WriteTcpParameters(RegistryPort& registry, const TuningSettings& settings,
                        WindowsFamily windows_family) {
    RowWriter rows(registry);
    if (windows_family.Uses9xLayout()) {
        Write9xLayout(rows, settings);
    } else if (windows_family.UsesNtLayout()) {
        WriteNtLayout(rows, settings);
    }
    return rows.all_succeeded();
}

}  // namespace zv
