#include "AudioFile.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace assetgen::audio {

namespace {
std::int16_t toPcm(float v) {
    const double s = std::round(std::clamp(static_cast<double>(v), -1.0, 1.0) * 32767.0);
    return static_cast<std::int16_t>(s);
}

void put16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<unsigned char>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

bool writeBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}
}  // namespace

bool writeWav(const std::filesystem::path& path, const synth::Buffer& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, synth::kRate);
    put32(out, synth::kRate * 2);  // byte rate
    put16(out, 2);                 // block align
    put16(out, 16);                // bits per sample
    putTag(out, "data");
    put32(out, dataBytes);
    for (float v : samples) put16(out, static_cast<std::uint16_t>(toPcm(v)));
    return writeBytes(path, out);
}

bool writeMp3(const std::filesystem::path& path, const synth::Stereo& samples, int kbps) {
    lame_global_flags* lame = lame_init();
    if (!lame) return false;
    lame_set_in_samplerate(lame, synth::kRate);
    lame_set_out_samplerate(lame, synth::kRate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_brate(lame, kbps);
    lame_set_VBR(lame, vbr_off);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        std::fprintf(stderr, "assetgen: the MP3 encoder rejected its settings\n");
        return false;
    }

    const std::size_t n = samples.size();
    std::vector<short> left(n), right(n);
    for (std::size_t i = 0; i < n; ++i) {
        left[i] = toPcm(samples.left[i]);
        right[i] = toPcm(samples.right[i]);
    }
    std::vector<unsigned char> out;
    const std::size_t chunk = 8192;
    std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
    for (std::size_t start = 0; start < n; start += chunk) {
        const int count = static_cast<int>(std::min(chunk, n - start));
        const int bytes = lame_encode_buffer(lame, left.data() + start, right.data() + start, count, buffer.data(),
                                             static_cast<int>(buffer.size()));
        if (bytes < 0) {
            lame_close(lame);
            return false;
        }
        out.insert(out.end(), buffer.begin(), buffer.begin() + bytes);
    }
    const int tail = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
    if (tail > 0) out.insert(out.end(), buffer.begin(), buffer.begin() + tail);

    // The stream starts with a placeholder frame; the info frame (length, encoder delay
    // and padding) replaces it now that the whole stream is known.
    unsigned char tag[2880];
    const std::size_t tagBytes = lame_get_lametag_frame(lame, tag, sizeof tag);
    lame_close(lame);
    if (tagBytes > 0 && tagBytes <= out.size()) std::copy(tag, tag + tagBytes, out.begin());
    return writeBytes(path, out);
}

}  // namespace assetgen::audio
