// What a running process holds: handles, GDI and USER objects, private bytes, processor
// time. Wine reports some of these its own way; the readings work around it.
#pragma once

#include <windows.h>

namespace zv::e2e {

struct ResourceUse {
    DWORD handles = 0;
    DWORD gdi_objects = 0;  // 0 under Wine, whose GetGuiResources counts nothing
    DWORD user_objects = 0;
    double private_kib = 0;
    double cpu_ms = 0;  // kernel and user time so far
};

ResourceUse MeasureProcess(HANDLE process);

}  // namespace zv::e2e
