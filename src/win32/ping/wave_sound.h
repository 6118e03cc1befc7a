// The ping sound through sndPlaySoundA of "winmm.dll", loaded from the system folder.
#pragma once

#include "ping/echo_ports.h"
#include "win32/platform/system_library.h"

namespace zv::win32 {

class WaveSound : public ping::SoundPort {
  public:
    WaveSound();
    ~WaveSound() override;

    void PlayWaveFile(const std::string& path) override;

  private:
    using PlaySoundFn = BOOL(WINAPI*)(LPCSTR, UINT);

    SystemLibrary library_;
    PlaySoundFn play_ = nullptr;  // found on the first sound
};

}  // namespace zv::win32
