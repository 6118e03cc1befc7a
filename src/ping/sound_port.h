// Plays a wave file in the background. The ping sound is the only sound the programs make
// from a file.
#pragma once

#include <string>

namespace zv::ping {

class SoundPort {
  public:
    virtual ~SoundPort() = default;
    // Returns at once; a file that cannot be played gives silence, never a default sound.
    virtual void PlayWaveFile(const std::string& path) = 0;
};

}  // namespace zv::ping
