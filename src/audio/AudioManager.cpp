#include "audio/AudioManager.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>

const std::array<SoundTableEntry, kSoundTableSize> kSoundTable = {{
    {"ButtonHovered", "ButtonHovered.wav", false, 0},
    {"ButtonClicked", "ButtonClicked.wav", false, 0},
    {"AR_Fired", "AR_Fired.wav", false, 0},
    {"Scope_Fired", "Scope_Fired.wav", false, 0},
    {"Shot_no_ammo", "Shot_no_ammo.wav", false, 0},
    {"FlashOn", "FlashLightOn.wav", false, 0},
    {"FlashOff", "FlashLightOff.wav", false, 0},
    {"EnemyHit", "EnemyHit.wav", false, 0},
    {"PlayerHit_1", "PlayerHit_1.wav", false, 0},
    {"PlayerHit_2", "PlayerHit_2.wav", false, 0},
    {"PlayerHit_3", "PlayerHit_3.wav", false, 0},
    {"PlayerDamage_1", "PlayerDamage_1.wav", false, 0},
    {"PlayerDamage_2", "PlayerDamage_2.wav", false, 0},
    {"PlayerDamage_3", "PlayerDamage_3.wav", false, 0},
    {"PlayerDead_1", "PlayerDead_1.wav", false, 0},
    {"PlayerDead_2", "PlayerDead_2.wav", false, 0},
    {"PlayerDead_3", "PlayerDead_3.wav", false, 0},
    {"ThunderStorm", "Thunder.wav", false, 0},
    {"FireEnemy", "FireEnemy.wav", false, 0},
    {"WalkFootsteps", "FootstepsWalk.wav", true, kWalkChannel},
    {"RunFootsteps", "FootstepsRun.wav", true, kRunChannel},
    {"EnemyDead", "EnemyDead.wav", false, 0},
    {"EnemyDead2", "EnemyDead2.wav", false, 0},
    {"MainMenu_music", "MainMenu.mp3", true, kMenuMusicChannel},
    {"InGame_music", "InGame.mp3", true, kGameMusicChannel},
    {"PauseGame_music", "PauseGame.mp3", true, kPauseMusicChannel},
    {"Reload", "Reloading.wav", false, 0},
    {"Item_health", "Item_health.wav", false, 0},
    {"PickUpInv", "PickUpInv.wav", false, 0},
    {"OpenDoor", "OpenDoor.wav", false, 0},
    {"NoItemInv", "NoItemInv.wav", false, 0},
    {"EnergyCellConnected", "EnergyCellConnected.wav", false, 0},
    {"Spaceship_1", "Spaceship_1.wav", false, 0},
    {"Spaceship_2", "Spaceship_2.wav", false, 0},
    {"UseScanner", "UseScanner.wav", false, 0},
    {"Follow_trace_path", "Follow_trace_path.wav", false, 0},
    {"NewRecord_music", "NewRecord.wav", false, 0},
    {"Screenshot", "Screenshot.wav", false, 0},
    {"Teleport", "Teleport.wav", false, 0},
    {"force_field_correct", "Force_field_correct.wav", false, 0},
    {"RemoveItem", "RemoveItem.wav", false, 0},
    {"EnemyDropItem", "EnemyDropItem.wav", false, 0},
}};

namespace {

// Gain above 1 of each numbered channel, read by the mixer thread. The effect that
// applies it is removed by the mixer whenever the channel finishes or is halted;
// its done callback clears the registered mark so the next volume change adds it again.
struct ChannelGain {
    std::atomic<float> gain{1.0f};
    std::atomic<bool> registered{false};
    uint16_t format = AUDIO_S16SYS;
};
std::array<ChannelGain, kNumberedChannels> channelGains;

void gainEffect(int, void* stream, int length, void* userData) {
    auto* state = static_cast<ChannelGain*>(userData);
    const float gain = state->gain.load(std::memory_order_relaxed);
    if (gain > 1.0f) applyGainWithClipping(stream, static_cast<size_t>(length), state->format, gain);
}

void gainEffectDone(int, void* userData) {
    static_cast<ChannelGain*>(userData)->registered.store(false, std::memory_order_relaxed);
}

bool hasSlot(const std::map<uint16_t, Sound*>& channels, uint16_t channel) {
    return channels.find(channel) != channels.end();
}

}  // namespace

void applyGainWithClipping(void* samples, size_t bytes, uint16_t sdlAudioFormat, float gain) {
    if (sdlAudioFormat == AUDIO_S16SYS) {
        const size_t count = bytes / sizeof(int16_t);
        auto* data = static_cast<unsigned char*>(samples);
        for (size_t i = 0; i < count; ++i) {
            int16_t s;
            std::memcpy(&s, data + i * sizeof s, sizeof s);
            const float v = std::clamp(static_cast<float>(s) * gain, -32768.0f, 32767.0f);
            s = static_cast<int16_t>(std::lrint(v));
            std::memcpy(data + i * sizeof s, &s, sizeof s);
        }
    } else if (sdlAudioFormat == AUDIO_F32SYS) {
        const size_t count = bytes / sizeof(float);
        auto* data = static_cast<unsigned char*>(samples);
        for (size_t i = 0; i < count; ++i) {
            float s;
            std::memcpy(&s, data + i * sizeof s, sizeof s);
            s = std::clamp(s * gain, -1.0f, 1.0f);
            std::memcpy(data + i * sizeof s, &s, sizeof s);
        }
    }
}

AudioManager& AudioManager::instance() {
    static AudioManager manager;
    return manager;
}

bool AudioManager::initialize() {
    if (opened) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, AUDIO_S16SYS, 2, 1024) != 0) {
        std::fputs("FMOD ERROR: Unable to initialize FMOD library", stdout);
        std::fflush(stdout);
        return false;
    }
    Mix_Init(MIX_INIT_MP3);  // MP3 decoding for Mix_LoadWAV; without it only the MP3 loads fail
    Mix_AllocateChannels(kMixerChannels);
    Mix_ReserveChannels(kNumberedChannels);
    int frequency = 0, deviceChannels = 0;
    uint16_t format = AUDIO_S16SYS;
    Mix_QuerySpec(&frequency, &format, &deviceChannels);
    for (ChannelGain& g : channelGains) g.format = format;
    if (masterVolume >= 0) Mix_MasterVolume(masterVolume);
    opened = true;
    return true;
}

void AudioManager::setMasterVolume(int percent) {
    masterVolume = std::clamp(percent, 0, 100) * MIX_MAX_VOLUME / 100;
    if (opened) Mix_MasterVolume(masterVolume);
}

bool AudioManager::loadSound(const std::string& path, const std::string& name, bool createsChannel,
                             uint16_t channel) {
    // A silent manager has already said why; it loads nothing and says nothing more.
    if (!opened) return false;
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (!chunk) {
        std::fputs("FMOD ERROR: Unable to create sound, ensure file path is accurate", stdout);
        std::fflush(stdout);
        return false;
    }
    if (auto old = sounds.find(name); old != sounds.end()) {
        for (auto& slot : channels)
            if (slot.second == &old->second) slot.second = nullptr;
        Mix_FreeChunk(old->second.chunk);
    }
    sounds[name] = Sound{chunk, false};
    if (createsChannel) channels[channel] = nullptr;
    return true;
}

void AudioManager::loadSoundTable() {
    for (const SoundTableEntry& entry : kSoundTable)
        loadSound(std::string(kAudioFolder) + entry.file, entry.name, entry.createsChannel, entry.channel);
}

Sound* AudioManager::sound(const std::string& name) {
    auto it = sounds.find(name);
    return it == sounds.end() ? nullptr : &it->second;
}

void AudioManager::playOneShot(Sound* s, bool loop) {
    if (!opened || !s) return;
    s->looping = loop;
    Mix_PlayChannel(-1, s->chunk, loop ? -1 : 0);  // no free channel: the one-shot is dropped
}

bool AudioManager::isChannelPlaying(uint16_t channel) const {
    if (!opened) return false;
    auto it = channels.find(channel);
    return it != channels.end() && it->second != nullptr && Mix_Playing(channel) != 0;
}

void AudioManager::playOnChannel(Sound* s, uint16_t channel, float volume) {
    if (!opened || !s || !hasSlot(channels, channel)) return;
    if (!isChannelPlaying(channel)) {
        if (Mix_PlayChannel(channel, s->chunk, s->looping ? -1 : 0) < 0) return;
        channels[channel] = s;
    }
    setChannelVolume(channel, volume);
}

void AudioManager::setChannelVolume(uint16_t channel, float volume) {
    if (!(volume >= 0.0f)) volume = 0.0f;
    Mix_Volume(channel, static_cast<int>(std::lrint(std::min(volume, 1.0f) * MIX_MAX_VOLUME)));
    if (channel >= kNumberedChannels) return;
    ChannelGain& g = channelGains[channel];
    g.gain.store(std::max(volume, 1.0f), std::memory_order_relaxed);
    if (volume > 1.0f && !g.registered.load(std::memory_order_relaxed)) {
        g.registered.store(true, std::memory_order_relaxed);
        if (Mix_RegisterEffect(channel, gainEffect, gainEffectDone, &g) == 0) g.registered.store(false);
    }
}

void AudioManager::setChannelPaused(uint16_t channel, bool paused) {
    if (!isChannelPlaying(channel)) return;
    if (paused) Mix_Pause(channel);
    else Mix_Resume(channel);
}

void AudioManager::stopChannel(uint16_t channel) {
    if (!opened || !hasSlot(channels, channel)) return;
    Mix_HaltChannel(channel);
    channels[channel] = nullptr;
}

void AudioManager::stopChannels(uint16_t first, uint16_t last) {
    for (uint32_t c = first; c <= last; ++c) stopChannel(static_cast<uint16_t>(c));
}

void AudioManager::update() {}

void AudioManager::releaseSounds() {
    if (opened) Mix_HaltChannel(-1);
    for (auto& entry : sounds) Mix_FreeChunk(entry.second.chunk);
    sounds.clear();
    for (auto& slot : channels) slot.second = nullptr;
}
