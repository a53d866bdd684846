#pragma once
// Writers for the two audio formats the game loads: 16-bit PCM WAV and MP3.
#include <filesystem>

#include "Synth.h"

namespace assetgen::audio {

// Mono, 16-bit, 44100 Hz. Samples are clamped to [-1, 1].
bool writeWav(const std::filesystem::path& path, const synth::Buffer& samples);
// Stereo, 44100 Hz, constant bit rate, with the encoder's info frame so that decoders
// can trim the encoder delay and padding (the tracks loop).
bool writeMp3(const std::filesystem::path& path, const synth::Stereo& samples, int kbps = 160);

}  // namespace assetgen::audio
