#pragma once
// Every sound of the game, loaded whole once at start-up from a fixed table and kept
// by name, played either as fire-and-forget one-shots or on five numbered channels
// (footsteps and the three pieces of music) that the game keeps going, pauses and
// stops by number. Backed by SDL_mixer: numbered channel n is mixer channel n, and
// the mixer's channels 0-4 are reserved for them so that one-shots never land there.
//
// Without an audio device the manager stays silent: every call does nothing.
#include <array>
#include <cstddef>
#include <cstdint>

#include "gameplay/GameServices.h"
#include <map>
#include <string>

struct Mix_Chunk;

// One loaded sound: the decoded samples and the loop mode it plays in.
struct Sound {
    Mix_Chunk* chunk = nullptr;
    bool looping = false;
};

struct SoundTableEntry {
    const char* name;
    const char* file;  // under ../Data/Audio/
    bool createsChannel;
    uint16_t channel;
};

inline constexpr size_t kSoundTableSize = 42;
extern const std::array<SoundTableEntry, kSoundTableSize> kSoundTable;
inline constexpr const char* kAudioFolder = "../Data/Audio/";

// The numbered channels (kWalkChannel ... kPauseMusicChannel) are the rules' own.
inline constexpr int kNumberedChannels = 5;
inline constexpr int kMixerChannels = 50;

class AudioManager {
public:
    static AudioManager& instance();

    // Opens the audio device. On failure prints the initialisation message and
    // leaves the manager silent.
    bool initialize();
    // Loads a whole file (WAV or MP3). On failure prints the create-sound message
    // and the name stays absent.
    bool loadSound(const std::string& path, const std::string& name, bool createsChannel, uint16_t channel);
    void loadSoundTable();

    // The sound stored under name, or nullptr when its file did not load.
    Sound* sound(const std::string& name);

    // Starts the sound on a free one-shot channel; overlapping one-shots are allowed.
    void playOneShot(Sound* sound, bool loop);
    void playOneShot(const std::string& name) { playOneShot(sound(name), false); }
    // Starts the sound on the numbered channel unless that channel is still playing
    // (a paused channel counts as playing), then sets the channel's volume; a volume
    // above 1 amplifies, clipping at full scale.
    void playOnChannel(Sound* sound, uint16_t channel, float volume);
    void playOnChannel(const std::string& name, uint16_t channel, float volume) {
        playOnChannel(sound(name), channel, volume);
    }
    void setChannelPaused(uint16_t channel, bool paused);
    void stopChannel(uint16_t channel);
    // Stops every channel from first to last, both included.
    void stopChannels(uint16_t first, uint16_t last);
    // Per-frame service of the audio system; the mixer runs on its own thread, so
    // there is nothing to do, but the game keeps calling it at the same points.
    void update();
    void releaseSounds();
    // Scales every channel's output by percent / 100 (the settings file's
    // master_volume=), now or when the device opens. Never called: full volume.
    void setMasterVolume(int percent);

    // True when the slot has a sound started on it that has not finished or been stopped.
    bool isChannelPlaying(uint16_t channel) const;
    bool ready() const { return opened; }

    std::map<std::string, Sound> sounds;
    // Slot of each numbered channel: the sound last started on it, or nullptr.
    std::map<uint16_t, Sound*> channels;

    AudioManager(const AudioManager&) = delete;
    AudioManager& operator=(const AudioManager&) = delete;

private:
    AudioManager() = default;
    ~AudioManager() = default;
    void setChannelVolume(uint16_t channel, float volume);

    bool opened = false;
    int masterVolume = -1;  // mixer units 0 ... MIX_MAX_VOLUME; -1: the mixer's own full volume
};

// Multiplies the samples by gain, saturating at the format's full scale. Handles
// signed 16-bit and 32-bit float samples (native byte order); other formats pass.
void applyGainWithClipping(void* samples, size_t bytes, uint16_t sdlAudioFormat, float gain);
