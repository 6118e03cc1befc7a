// The registry keys the tests write and read back, spelt once for the unit tests, the e2e
// drivers, the fuzz targets and the benchmarks. Windows compares key names without regard
// to case; each is spelt as the programs spell it, so that texts naming a key (exports,
// snapshots) compare letter for letter.
#pragma once

#include <string>

namespace zv::test_keys {

inline const std::string kServices = "SYSTEM\\CurrentControlSet\\Services";
// The NT layout: the global values, and one subkey per network interface.
inline const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
inline const std::string kInterfaces =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
// The Windows 9x layout: the global values, and one subkey per network transport.
inline const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
inline const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
// Both layouts.
inline const std::string kNdiCache =
    "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
inline const std::string kInternet =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
// Beside them.
inline const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::string kZorvane = "Software\\Zorvane";
inline const std::string kOptions = "Software\\Zorvane\\Options";

// The service key of a network interface, which holds its MTU as well.
inline std::string InterfaceService(const std::string& adapter) {
    return kServices + "\\" + adapter + "\\Parameters\\Tcpip";
}

}  // namespace zv::test_keys
