// The machine as far as the modern stack tells releases apart: how the stack is reached
// (not at all before Vista, netsh on Vista and 7, WMI from Windows 8 / Server 2012 on),
// client or server, the build (Windows 11 24H2 and Server 2025, build 26100, have the
// loopback hang with BBR2), and how many processors receive-side scaling could spread over.
#pragma once

#include <cstdint>

#include "common/windows_release.h"
#include "sysconfig/windows_version.h"

namespace zv::netstack {

enum class StackReach { None, Netsh, Wmi };

struct StackMachine {
    WindowsRelease release = WindowsRelease::Unrecognised;
    ReleaseDetail detail;  // major, minor, build, server
    uint32_t processors = 1;

    StackReach Reach() const;
    // Build 1709 (16299) and later: CUBIC is the default provider.
    bool CubicByDefault() const;
    // Build 26100 and later: BBR2 hangs loopback connections after the handshake.
    bool Bbr2LoopbackHang() const;
};

}  // namespace zv::netstack
