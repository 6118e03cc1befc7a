// The Windows release found at start, and everything the program decides by it: the
// registry layout its TCP/IP stack reads, the preset group, the Control Panel applets it
// has and the name shown for it. Each decision is a column of one table, so that a rule
// on releases is written once, and a release Windows adds is one more row.
#pragma once

#include <cstddef>
#include <iterator>

namespace zv {

// The releases as far as their TCP/IP stacks tell them apart: the 9x line oldest first,
// then the NT line oldest first. Vista stands for Windows Vista and every later release,
// whose new stack reads and ignores the same values. A release added later goes at the
// end, so that whatever is read "since" an older release is read by it too.
enum class WindowsRelease {
    Unrecognised,
    Win32s,
    Windows95,
    Windows98,
    WindowsMe,
    WindowsNt4,  // and NT 3.x
    Windows2000,
    WindowsXp,
    Windows2003,  // release 5.2, Windows XP x64 included
    Vista,
};

// Where the TCP/IP stack keeps its parameters; an unrecognised release has no layout, and
// nothing is written to its registry.
enum class RegistryLayout { None, Win9x, Nt };

// Windows ME and the NT releases take preset group A; the older 9x releases and anything
// unrecognised take group B.
enum class PresetGroup { A, B };

// The network applet: netcpl.cpl on the 9x layout, ncpa.cpl on the NT layout.
enum class NetworkApplet { None, Netcpl, Ncpa };

// Windows 2000 replaced the modem applet (modem.cpl) with "Phone and Modem Options"
// (telephon.cpl); the 9x releases and NT 4 have only the older one.
enum class ModemApplet { Modem, PhoneAndModemOptions };

struct ReleaseProperties {
    WindowsRelease release;
    // The name shown when Windows tells nothing finer; "" when unrecognised.
    const char* name;
    RegistryLayout layout;
    PresetGroup presets;
    NetworkApplet network_applet;
    ModemApplet modem_applet;
};

namespace release_table {

using R = WindowsRelease;
using L = RegistryLayout;
using G = PresetGroup;
using N = NetworkApplet;
using M = ModemApplet;

// One row per release, in the enum's order.
inline constexpr ReleaseProperties kRows[] = {
    {R::Unrecognised, "", L::None, G::B, N::None, M::Modem},
    {R::Win32s, "Windows 32", L::Win9x, G::B, N::Netcpl, M::Modem},
    {R::Windows95, "Windows 95", L::Win9x, G::B, N::Netcpl, M::Modem},
    {R::Windows98, "Windows 98", L::Win9x, G::B, N::Netcpl, M::Modem},
    {R::WindowsMe, "Windows ME", L::Win9x, G::A, N::Netcpl, M::Modem},
    {R::WindowsNt4, "Windows NT", L::Nt, G::A, N::Ncpa, M::Modem},
    {R::Windows2000, "Windows 2000", L::Nt, G::A, N::Ncpa, M::PhoneAndModemOptions},
    {R::WindowsXp, "Windows XP", L::Nt, G::A, N::Ncpa, M::PhoneAndModemOptions},
    {R::Windows2003, "Windows 2003", L::Nt, G::A, N::Ncpa, M::PhoneAndModemOptions},
    // Named from its true version where Windows gives one ("Windows 10").
    {R::Vista, "Windows", L::Nt, G::A, N::Ncpa, M::PhoneAndModemOptions},
};

constexpr bool InEnumOrder() {
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        if (static_cast<std::size_t>(kRows[i].release) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InEnumOrder(), "one row per release, in the enum's order");

}  // namespace release_table

constexpr const ReleaseProperties& PropertiesOf(WindowsRelease release) {
    return release_table::kRows[static_cast<std::size_t>(release)];
}

// The releases that read a registry value: from `since` on, and up to `until` only where
// a later release stopped reading it, so that a release added after the newest one known
// reads what the newest reads.
class ReleaseRange {
  public:
    static constexpr ReleaseRange Since(WindowsRelease first) { return {first, first, true}; }
    static constexpr ReleaseRange From(WindowsRelease first, WindowsRelease last) {
        return {first, last, false};
    }
    static constexpr ReleaseRange Only(WindowsRelease release) { return From(release, release); }
    // Read by no release: the unrecognised one alone, which reads nothing.
    static constexpr ReleaseRange None() { return Only(WindowsRelease::Unrecognised); }

    constexpr bool Includes(WindowsRelease release) const {
        return release != WindowsRelease::Unrecognised && release >= since_ &&
               (open_ended_ || release <= until_);
    }

  private:
    constexpr ReleaseRange(WindowsRelease since, WindowsRelease until, bool open_ended)
        : since_(since), until_(until), open_ended_(open_ended) {}

    WindowsRelease since_;
    WindowsRelease until_;
    bool open_ended_;
};

}  // namespace zv
