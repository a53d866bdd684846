// The audio manager's contract, against SDL_mixer on SDL's dummy audio driver (which
// consumes samples in real time, so channels play, pause and finish as on a device).
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "TestSounds.h"
#include "audio/AudioManager.h"

namespace {

using namespace std::chrono_literals;
using testsounds::TempDir;

// Listens to one mixer channel after the manager's own effects: sees the samples as
// they leave the channel (before its volume), and whether the channel was restarted
// or halted (the mixer removes a channel's effects then).
struct Probe {
    std::atomic<int> lastSample{-1};
    std::atomic<int> minSample{1 << 20};
    std::atomic<int> maxSample{-(1 << 20)};
    std::atomic<int> calls{0};
    std::atomic<bool> removed{false};

    static void effect(int, void* stream, int length, void* self) {
        auto* p = static_cast<Probe*>(self);
        const int count = length / 2;
        for (int i = 0; i < count; ++i) {
            int16_t s;
            std::memcpy(&s, static_cast<char*>(stream) + 2 * i, 2);
            if (s < p->minSample) p->minSample = s;
            if (s > p->maxSample) p->maxSample = s;
            p->lastSample = s;
        }
        ++p->calls;
    }
    static void done(int, void* self) { static_cast<Probe*>(self)->removed = true; }
    void attach(int channel) { ASSERT_NE(Mix_RegisterEffect(channel, effect, done, this), 0); }
    // Waits until the channel has delivered samples past this many calls.
    bool waitForCalls(int n) {
        for (int i = 0; i < 300 && calls < n; ++i) std::this_thread::sleep_for(10ms);
        return calls >= n;
    }
};

class AudioManagerTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(AudioManager::instance().initialize()); }

    void SetUp() override {
        ASSERT_TRUE(AudioManager::instance().ready());
        Mix_HaltChannel(-1);
        // A rising ramp: the sample value tells where in the sound the channel is.
        rampPath = dir.path / "ramp.wav";
        testsounds::writeWav(rampPath, 2 * testsounds::deviceRate(), [](int i) { return static_cast<int16_t>(i / 4); });
        constPath = dir.path / "const.wav";
        testsounds::writeWav(constPath, testsounds::deviceRate(), [](int i) { return static_cast<int16_t>(i % 2 ? 10000 : -12000); });
    }

    void TearDown() override {
        Mix_HaltChannel(-1);
        AudioManager::instance().releaseSounds();
    }

    TempDir dir;
    std::filesystem::path rampPath, constPath;
};

TEST_F(AudioManagerTest, PlayOnChannelNeverStartsASecondCopyAndOnlyChangesTheVolume) {
    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(audio.loadSound(rampPath, "MainMenu_music", true, kMenuMusicChannel));
    audio.playOnChannel("MainMenu_music", kMenuMusicChannel, 0.5f);
    Probe probe;
    probe.attach(kMenuMusicChannel);
    ASSERT_TRUE(probe.waitForCalls(3));
    EXPECT_EQ(Mix_Volume(kMenuMusicChannel, -1), 64);

    const int before = probe.lastSample;
    for (int frame = 0; frame < 20; ++frame) audio.playOnChannel("MainMenu_music", kMenuMusicChannel, 0.25f);
    ASSERT_TRUE(probe.waitForCalls(probe.calls + 3));

    EXPECT_FALSE(probe.removed) << "the channel was restarted";
    EXPECT_GT(probe.lastSample, before) << "the sound went back to its start";
    EXPECT_EQ(Mix_Playing(-1), 1) << "a second copy plays";
    EXPECT_EQ(Mix_Volume(kMenuMusicChannel, -1), 32);
    EXPECT_TRUE(audio.isChannelPlaying(kMenuMusicChannel));
}

TEST_F(AudioManagerTest, APausedChannelCountsAsPlayingAndResumesAtItsPosition) {
    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(audio.loadSound(rampPath, "PauseGame_music", true, kPauseMusicChannel));
    audio.playOnChannel("PauseGame_music", kPauseMusicChannel, 0.5f);
    Probe probe;
    probe.attach(kPauseMusicChannel);
    ASSERT_TRUE(probe.waitForCalls(5));

    audio.setChannelPaused(kPauseMusicChannel, true);
    std::this_thread::sleep_for(50ms);
    const int pausedAt = probe.lastSample;
    const int callsWhilePaused = probe.calls;
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(probe.calls, callsWhilePaused) << "a paused channel went on";
    EXPECT_TRUE(audio.isChannelPlaying(kPauseMusicChannel));

    // What the map screen does when it opens again: start if not playing, then unpause.
    audio.playOnChannel("PauseGame_music", kPauseMusicChannel, 0.5f);
    audio.setChannelPaused(kPauseMusicChannel, false);
    ASSERT_TRUE(probe.waitForCalls(callsWhilePaused + 2));
    EXPECT_FALSE(probe.removed) << "the paused sound was restarted";
    EXPECT_GT(probe.lastSample, pausedAt);
}

TEST_F(AudioManagerTest, StoppingChannelsZeroToOneStopsBothEvenIfOneNeverPlayed) {
    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(audio.loadSound(rampPath, "WalkFootsteps", true, kWalkChannel));
    ASSERT_TRUE(audio.loadSound(rampPath, "RunFootsteps", true, kRunChannel));
    // Running only: the walking channel never played.
    audio.playOnChannel("RunFootsteps", kRunChannel, 1.0f);
    ASSERT_TRUE(audio.isChannelPlaying(kRunChannel));
    ASSERT_FALSE(audio.isChannelPlaying(kWalkChannel));

    audio.stopChannels(kWalkChannel, kRunChannel);
    EXPECT_FALSE(audio.isChannelPlaying(kWalkChannel));
    EXPECT_FALSE(audio.isChannelPlaying(kRunChannel));
    EXPECT_EQ(Mix_Playing(-1), 0);

    // A stopped channel starts afresh on the next call, as footsteps do when walking resumes.
    audio.playOnChannel("RunFootsteps", kRunChannel, 1.0f);
    EXPECT_TRUE(audio.isChannelPlaying(kRunChannel));
    EXPECT_FALSE(audio.isChannelPlaying(kWalkChannel));
}

TEST_F(AudioManagerTest, VolumeAboveOneAmplifiesWithClippingAlsoAfterARestart) {
    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(audio.loadSound(constPath, "MainMenu_music", true, kMenuMusicChannel));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        audio.playOnChannel("MainMenu_music", kMenuMusicChannel, 3.0f);
        Probe probe;
        probe.attach(kMenuMusicChannel);
        ASSERT_TRUE(probe.waitForCalls(3));
        EXPECT_EQ(Mix_Volume(kMenuMusicChannel, -1), MIX_MAX_VOLUME);
        EXPECT_EQ(probe.maxSample, 30000);
        EXPECT_EQ(probe.minSample, -32768) << "-12000 x 3 clips at full scale";
        audio.stopChannel(kMenuMusicChannel);
        EXPECT_TRUE(probe.removed);
    }
}

TEST_F(AudioManagerTest, OneShotsOverlapAndNeverUseTheNumberedChannels) {
    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(audio.loadSound(rampPath, "PickUpInv", false, 0));
    for (int i = 0; i < 3; ++i) audio.playOneShot("PickUpInv");
    EXPECT_EQ(Mix_Playing(-1), 3);
    for (int c = 0; c < kNumberedChannels; ++c) EXPECT_EQ(Mix_Playing(c), 0) << c;
}

TEST_F(AudioManagerTest, AFileThatDoesNotLoadReportsAndItsNamePlaysNothing) {
    const std::filesystem::path garbage = dir.path / "garbage.wav";
    std::ofstream(garbage, std::ios::binary) << "RIFF....WAVEnot really";
    for (const std::filesystem::path& path : {dir.path / "missing.wav", garbage}) {
        SCOPED_TRACE(path.string());
        AudioManager& audio = AudioManager::instance();
        testing::internal::CaptureStdout();
        EXPECT_FALSE(audio.loadSound(path, "InGame_music", true, kGameMusicChannel));
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "FMOD ERROR: Unable to create sound, ensure file path is accurate");
        EXPECT_EQ(audio.sound("InGame_music"), nullptr);
        audio.playOneShot("InGame_music");
        audio.playOnChannel("InGame_music", kGameMusicChannel, 1.0f);
        EXPECT_EQ(Mix_Playing(-1), 0);
        EXPECT_FALSE(audio.isChannelPlaying(kGameMusicChannel));
    }
}

TEST_F(AudioManagerTest, TheSoundTableLoadsWholeFromTheDataTree) {
    AudioManager& audio = AudioManager::instance();
    testing::internal::CaptureStdout();
    audio.loadSoundTable();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(audio.sounds.size(), kSoundTableSize);
    for (const SoundTableEntry& entry : kSoundTable) EXPECT_NE(audio.sound(entry.name), nullptr) << entry.name;
    std::vector<uint16_t> slots;
    for (const auto& slot : audio.channels) slots.push_back(slot.first);
    EXPECT_EQ(slots, (std::vector<uint16_t>{0, 1, 2, 3, 4}));
}

TEST(AudioGain, SaturatesAtFullScale) {
    struct Case {
        int16_t in;
        float gain;
        int16_t out;
    };
    for (const Case& c : {Case{1000, 3.0f, 3000}, Case{20000, 3.0f, 32767}, Case{-20000, 3.0f, -32768},
                          Case{-32768, 1.5f, -32768}, Case{123, 1.0f, 123}}) {
        int16_t s = c.in;
        applyGainWithClipping(&s, sizeof s, AUDIO_S16SYS, c.gain);
        EXPECT_EQ(s, c.out) << c.in << " x " << c.gain;
    }
    float f[2] = {0.5f, -0.25f};
    applyGainWithClipping(f, sizeof f, AUDIO_F32SYS, 3.0f);
    EXPECT_FLOAT_EQ(f[0], 1.0f);
    EXPECT_FLOAT_EQ(f[1], -0.75f);
}

TEST(AudioWithoutDevice, ReportsOnceAndStaysSilent) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "velkaran-no-such-driver", 1);
            AudioManager& audio = AudioManager::instance();
            testing::internal::CaptureStdout();
            const bool initialised = audio.initialize();
            audio.loadSoundTable();
            audio.playOneShot("ButtonClicked");
            audio.playOnChannel("MainMenu_music", kMenuMusicChannel, 3.0f);
            audio.setChannelPaused(kMenuMusicChannel, true);
            audio.stopChannels(0, 4);
            audio.update();
            audio.releaseSounds();
            const std::string out = testing::internal::GetCapturedStdout();
            const bool ok = !initialised && out == "FMOD ERROR: Unable to initialize FMOD library" &&
                            audio.sounds.empty() && !audio.isChannelPlaying(kMenuMusicChannel);
            std::fprintf(stderr, "stdout: [%s]\n", out.c_str());
            std::exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
