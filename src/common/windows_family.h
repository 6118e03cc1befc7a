// The Windows release found at start, as the family number every consumer's rule was made
// for: 0 unrecognised, 1 to 4 the releases whose TCP/IP stack keeps its parameters in the
// Windows 9x layout of the registry, 5 to 8 those with the NT layout. The questions the
// consumers ask are answered here, so that no range of numbers is written twice.
#pragma once

#include <cstdint>

namespace zv {

class WindowsFamily {
  public:
    constexpr WindowsFamily() = default;
    constexpr explicit WindowsFamily(int16_t number) : number_(number) {}

    constexpr int16_t number() const { return number_; }

    constexpr bool Uses9xLayout() const { return number_ >= 1 && number_ <= 4; }
    constexpr bool UsesNtLayout() const { return number_ >= 5 && number_ <= 8; }
    constexpr bool Recognised() const { return Uses9xLayout() || UsesNtLayout(); }
    // Windows ME and the NT releases take preset group A; the older 9x releases and
    // anything unrecognised take group B.
    constexpr bool TakesPresetGroupA() const { return number_ >= 4; }
    // Every recognised release has a network applet: netcpl.cpl on the 9x layout,
    // ncpa.cpl on the NT layout.
    constexpr bool HasNetworkApplet() const { return Recognised(); }
    // Windows 2000 replaced the modem applet (modem.cpl) with "Phone and Modem Options"
    // (telephon.cpl); the 9x releases and NT 4 (family 5) have only the older one.
    constexpr bool HasPhoneAndModemOptions() const { return UsesNtLayout() && number_ >= 6; }

    constexpr bool operator==(WindowsFamily other) const { return number_ == other.number_; }
    constexpr bool operator!=(WindowsFamily other) const { return number_ != other.number_; }

  private:
    int16_t number_ = 0;
};

inline constexpr WindowsFamily Unrecognised{};

}  // namespace zv
