#pragma once
// What a rule asks of the outside world: sounds and channels. The game implements it
// over the audio manager; the sim and the tests implement it without a device (and
// may record the calls). Channel numbers and sound names are the sound table's.
#include <cstdint>
#include <string>

// The numbered channels of the sound table.
inline constexpr uint16_t kWalkChannel = 0;
inline constexpr uint16_t kRunChannel = 1;
inline constexpr uint16_t kMenuMusicChannel = 2;
inline constexpr uint16_t kGameMusicChannel = 3;
inline constexpr uint16_t kPauseMusicChannel = 4;

class GameServices {
public:
    virtual ~GameServices() = default;
    // Starts the named sound on the numbered channel when that channel is idle, and
    // sets its volume.
    virtual void playOnChannel(const std::string& sound, uint16_t channel, float volume) = 0;
    virtual void stopChannel(uint16_t channel) = 0;
    // A sound played once on a free channel.
    virtual void playOneShot(const std::string& sound) = 0;
};

// Does nothing: for tests and tools that need no sound.
class SilentServices : public GameServices {
public:
    void playOnChannel(const std::string&, uint16_t, float) override {}
    void stopChannel(uint16_t) override {}
    void playOneShot(const std::string&) override {}
};
