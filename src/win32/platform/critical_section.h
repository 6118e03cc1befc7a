// A critical section with the lifetime of its owner, and a hold of it for a scope: what
// std::mutex is elsewhere (the win32 thread model of MinGW's runtime has none).
#pragma once

#include <windows.h>

namespace zv::win32 {

class CriticalSection {
  public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

  private:
    CRITICAL_SECTION section_;
};

class Hold {
  public:
    explicit Hold(CriticalSection& section) : section_(section) { section_.Enter(); }
    ~Hold() { section_.Leave(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

  private:
    CriticalSection& section_;
};

}  // namespace zv::win32
