// The generated sounds: every file the game loads exists, decodes with SDL_mixer,
// and is clean (no DC offset, no clipping, no click at either end or at a loop's joint);
// the generator writes the same bytes on every run.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "TempDir.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::filesystem::path kAudioDir = std::filesystem::path(VELKARAN_BUILD_DIR) / "Data" / "Audio";

enum class Kind { OneShot, Loop, Music };

struct SoundFile {
    const char* file;
    Kind kind;
};

// Every sound the game loads, in its loading order.
const SoundFile kSounds[] = {
    {"ButtonHovered.wav", Kind::OneShot},      {"ButtonClicked.wav", Kind::OneShot},
    {"AR_Fired.wav", Kind::OneShot},           {"Scope_Fired.wav", Kind::OneShot},
    {"Shot_no_ammo.wav", Kind::OneShot},       {"FlashLightOn.wav", Kind::OneShot},
    {"FlashLightOff.wav", Kind::OneShot},      {"EnemyHit.wav", Kind::OneShot},
    {"PlayerHit_1.wav", Kind::OneShot},        {"PlayerHit_2.wav", Kind::OneShot},
    {"PlayerHit_3.wav", Kind::OneShot},        {"PlayerDamage_1.wav", Kind::OneShot},
    {"PlayerDamage_2.wav", Kind::OneShot},     {"PlayerDamage_3.wav", Kind::OneShot},
    {"PlayerDead_1.wav", Kind::OneShot},       {"PlayerDead_2.wav", Kind::OneShot},
    {"PlayerDead_3.wav", Kind::OneShot},       {"Thunder.wav", Kind::OneShot},
    {"FireEnemy.wav", Kind::OneShot},          {"FootstepsWalk.wav", Kind::Loop},
    {"FootstepsRun.wav", Kind::Loop},          {"EnemyDead.wav", Kind::OneShot},
    {"EnemyDead2.wav", Kind::OneShot},         {"MainMenu.mp3", Kind::Music},
    {"InGame.mp3", Kind::Music},               {"PauseGame.mp3", Kind::Music},
    {"Reloading.wav", Kind::OneShot},          {"Item_health.wav", Kind::OneShot},
    {"PickUpInv.wav", Kind::OneShot},          {"OpenDoor.wav", Kind::OneShot},
    {"NoItemInv.wav", Kind::OneShot},          {"EnergyCellConnected.wav", Kind::OneShot},
    {"Spaceship_1.wav", Kind::OneShot},        {"Spaceship_2.wav", Kind::OneShot},
    {"UseScanner.wav", Kind::OneShot},         {"Follow_trace_path.wav", Kind::OneShot},
    {"NewRecord.wav", Kind::OneShot},          {"Screenshot.wav", Kind::OneShot},
    {"Teleport.wav", Kind::OneShot},           {"Force_field_correct.wav", Kind::OneShot},
    {"RemoveItem.wav", Kind::OneShot},         {"EnemyDropItem.wav", Kind::OneShot},
};

std::vector<unsigned char> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le(const std::vector<unsigned char>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

// Mono 16-bit PCM samples of a WAV file, walking its chunks; empty when the format is
// anything else.
std::vector<std::int16_t> readPcm16Mono(const std::filesystem::path& path, std::string& why) {
    const std::vector<unsigned char> b = readFile(path);
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" || std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
        why = "not a RIFF/WAVE file";
        return {};
    }
    bool formatOk = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
        const std::uint32_t size = le(b, at + 4, 4);
        const std::size_t body = at + 8;
        if (body + size > b.size()) break;
        if (id == "fmt ") {
            formatOk = le(b, body, 2) == 1 && le(b, body + 2, 2) == 1 && le(b, body + 4, 4) == 44100 && le(b, body + 14, 2) == 16;
            if (!formatOk) {
                why = "not 16-bit PCM mono at 44100 Hz";
                return {};
            }
        } else if (id == "data" && formatOk) {
            std::vector<std::int16_t> pcm(size / 2);
            for (std::size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<std::int16_t>(le(b, body + 2 * i, 2));
            return pcm;
        }
        at = body + size + (size & 1);
    }
    why = "no fmt or data chunk";
    return {};
}

class GeneratedSounds : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // No sound card on the test machines: the dummy driver still decodes and mixes.
        if (!std::getenv("SDL_AUDIODRIVER")) SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    }
    static void TearDownTestSuite() {
        Mix_CloseAudio();
        SDL_Quit();
    }
};

TEST_F(GeneratedSounds, EveryFileExistsAndDecodesWithTheMixer) {
    for (const SoundFile& s : kSounds) {
        SCOPED_TRACE(s.file);
        const std::filesystem::path path = kAudioDir / s.file;
        ASSERT_TRUE(std::filesystem::is_regular_file(path));
        Mix_Chunk* chunk = Mix_LoadWAV(path.string().c_str());
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        // Stereo 16-bit at 44100 Hz after the mixer's conversion.
        const double seconds = chunk->alen / 4.0 / 44100.0;
        if (s.kind == Kind::Music) {
            EXPECT_GE(seconds, 30.0);
            EXPECT_LE(seconds, 60.0);
        } else {
            EXPECT_GE(seconds, 0.05);
            EXPECT_LE(seconds, 10.0);
        }
        Mix_FreeChunk(chunk);
    }
}

TEST_F(GeneratedSounds, EffectsAreCleanPcmWithoutDcOrClippingOrEdgeClicks) {
    for (const SoundFile& s : kSounds) {
        if (s.kind == Kind::Music) continue;
        SCOPED_TRACE(s.file);
        std::string why;
        const std::vector<std::int16_t> pcm = readPcm16Mono(kAudioDir / s.file, why);
        ASSERT_FALSE(pcm.empty()) << why;
        double sum = 0;
        int peak = 0;
        for (std::int16_t v : pcm) {
            sum += v;
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        }
        EXPECT_LT(std::abs(sum / static_cast<double>(pcm.size())), 0.001 * 32768) << "DC offset";
        EXPECT_LT(peak, 32000) << "peak at or near full scale";
        EXPECT_GT(peak, 3000) << "nearly silent";
        const int first = std::abs(static_cast<int>(pcm.front())), last = std::abs(static_cast<int>(pcm.back()));
        if (s.kind == Kind::OneShot) {
            EXPECT_LT(first, 100) << "starts with a step";
            EXPECT_LT(last, 100) << "ends with a step";
        } else {
            // Played back to back: the joint from the last sample to the first must be
            // as smooth as any step inside the loop.
            EXPECT_LT(std::abs(static_cast<int>(pcm.back()) - static_cast<int>(pcm.front())), 300) << "click at the loop joint";
        }
    }
}

TEST_F(GeneratedSounds, MusicLoopsWithoutClicksAndLeavesHeadroomForItsVolume) {
    for (const SoundFile& s : kSounds) {
        if (s.kind != Kind::Music) continue;
        SCOPED_TRACE(s.file);
        Mix_Chunk* chunk = Mix_LoadWAV((kAudioDir / s.file).string().c_str());
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        const auto* pcm = reinterpret_cast<const std::int16_t*>(chunk->abuf);
        const std::size_t n = chunk->alen / 2;
        int peak = 0;
        for (std::size_t i = 0; i < n; ++i) peak = std::max(peak, std::abs(static_cast<int>(pcm[i])));
        // The menu plays at three times full volume, so its own peak stays under a third.
        EXPECT_LT(peak, std::string(s.file) == "MainMenu.mp3" ? 32768 / 3 : 32000);
        // The track is restarted when it ends: both sides of that joint are quiet.
        int edge = 0;
        for (std::size_t i = 0; i < 2 * 32; ++i) {
            edge = std::max(edge, std::abs(static_cast<int>(pcm[i])));
            edge = std::max(edge, std::abs(static_cast<int>(pcm[n - 1 - i])));
        }
        EXPECT_LT(edge, 600) << "loud at the loop joint";
        Mix_FreeChunk(chunk);
    }
}

TEST(SoundGenerator, WritesTheSameBytesOnEveryRun) {
    const TempDir temp;
    const std::filesystem::path out = temp.path;
    const std::string command =
        std::string("\"") + VELKARAN_BUILD_DIR + "/tools/velkaran-assetgen\" \"" + out.string() + "\" sounds";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const SoundFile& s : kSounds) {
        SCOPED_TRACE(s.file);
        EXPECT_TRUE(readFile(out / "Audio" / s.file) == readFile(kAudioDir / s.file));
    }
}

}  // namespace
