#pragma once
#include "TempDir.h"
// Small WAV files written by the tests themselves, in the audio device's own format
// so that the mixer hands their samples to channel effects unchanged.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace testsounds {

inline void putLe(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 16-bit PCM WAV at the device's rate and channel count; every channel of frame i
// holds sample(i).
inline void writeWav(const std::filesystem::path& path, int frames, const std::function<int16_t(int)>& sample) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&rate, &format, &channels)) {
        rate = 44100;
        channels = 2;
    }
    const uint32_t dataBytes = static_cast<uint32_t>(frames * channels * 2);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    putLe(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLe(out, 16, 4);
    putLe(out, 1, 2);
    putLe(out, static_cast<uint32_t>(channels), 2);
    putLe(out, static_cast<uint32_t>(rate), 4);
    putLe(out, static_cast<uint32_t>(rate * channels * 2), 4);
    putLe(out, static_cast<uint32_t>(channels * 2), 2);
    putLe(out, 16, 2);
    out.write("data", 4);
    putLe(out, dataBytes, 4);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) putLe(out, static_cast<uint16_t>(sample(i)), 2);
}

inline int deviceRate() {
    int rate = 44100, channels = 2;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    return rate;
}

using ::TempDir;

}  // namespace testsounds
