#pragma once
// Everything the play shell and the rules ask of the outside world: sounds and
// channels, the pointer, the desktop's question box and browser, the screen's loading
// picture and screenshot, the calendar. The windowed game implements it over its
// devices; the headless game and the tests over nothing (and may record the calls).
// Channel numbers and sound names are the sound table's.
#include <cstdint>
#include <ctime>
#include <string>

#include "gameplay/InputEvent.h"

// The numbered channels of the sound table.
inline constexpr uint16_t kWalkChannel = 0;
inline constexpr uint16_t kRunChannel = 1;
inline constexpr uint16_t kMenuMusicChannel = 2;
inline constexpr uint16_t kGameMusicChannel = 3;
inline constexpr uint16_t kPauseMusicChannel = 4;

enum class DialogAnswer {
    Yes,
    No,
    None,  // the box could not be shown, or was closed without an answer
};

class GameServices {
public:
    virtual ~GameServices() = default;

    // ---- Sounds ----
    // Starts the named sound on the numbered channel when that channel is idle, and
    // sets its volume.
    virtual void playOnChannel(const std::string& sound, uint16_t channel, float volume) = 0;
    virtual void stopChannel(uint16_t channel) = 0;
    // A sound played once on a free channel.
    virtual void playOneShot(const std::string& sound) = 0;
    // A paused channel resumes where it stopped.
    virtual void setChannelPaused(uint16_t, bool) {}

    // ---- The pointer ----
    // Play takes the pointer (hidden, relative motion); the menus give it back.
    virtual void capturePointer() {}
    virtual void releasePointer() {}
    // Where the pointer is when this motion arrives, in window pixels, for the menus'
    // hit test: by default where the event says.
    virtual void pointerAt(const InputEvent& motion, int32_t& x, int32_t& y) {
        x = motion.x;
        y = motion.y;
    }

    // ---- The desktop ----
    // A modal question with the answers Yes and No; caption and text are Windows-1252.
    // Without a desktop nobody answers Yes.
    virtual DialogAnswer askYesNo(const std::string&, const std::string&) { return DialogAnswer::No; }
    // Failures are not reported.
    virtual void openWebPage(const std::string&) {}

    // ---- The screen ----
    // The loading picture, shown while a later game resets the world.
    virtual void showLoadingPicture() {}
    // A game has started (the world is reset): counters of the display restart.
    virtual void gameStarted(bool /*firstGame*/) {}
    // F12: the picture of the frame being made, under this drawn number.
    virtual void takeScreenshot(int32_t /*number*/) {}

    // ---- The calendar ----
    virtual int64_t calendarSeconds() { return static_cast<int64_t>(std::time(nullptr)); }
};

// Does nothing: for tests and tools that need no sound.
class SilentServices : public GameServices {
public:
    void playOnChannel(const std::string&, uint16_t, float) override {}
    void stopChannel(uint16_t) override {}
    void playOneShot(const std::string&) override {}
};
