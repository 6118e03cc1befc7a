#include "win32/ping/wave_sound.h"

namespace zv::win32 {

namespace {

// SND_ASYNC | SND_NODEFAULT: return at once, and stay silent rather than play the default
// sound when the file cannot be played.
constexpr UINT kAsyncNoDefault = 0x0001 | 0x0002;

}  // namespace

WaveSound::WaveSound() : library_("winmm.dll") {}

// A sound still playing would outlive the library it plays from.
WaveSound::~WaveSound() {
    if (play_ != nullptr) {
        play_(nullptr, 0);
    }
}

void WaveSound::PlayWaveFile(const std::string& path) {
    if (play_ == nullptr) {
        play_ = library_.Function<PlaySoundFn>("sndPlaySoundA");
    }
    if (play_ != nullptr) {
        play_(path.c_str(), kAsyncNoDefault);
    }
}

}  // namespace zv::win32
