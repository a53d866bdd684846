#pragma once
// The fortress identity (name and seed) and the best escape time, kept in the
// "preferencias" section of the settings file so that every launch rebuilds the
// same fortress until the player asks for a new one.
#include <cstdint>
#include <filesystem>
#include <string>

#include "util/Paths.h"

class RandomEngine;

// The build tree's settings file, relative to its bin/ folder.
inline const std::filesystem::path kSettingsPath = "../Data/Settings/Settings.ini";

struct FortressIdentity {
    // The run's settings file (util/Paths.h); empty: nothing is read or written.
    std::filesystem::path settingsPath = settingsFilePath();

    std::string mapName;  // Windows-1252 bytes
    uint32_t mapSeed = 0;
    int32_t recordHours = 0;
    int32_t recordMinutes = 0;
    int32_t recordSeconds = 0;
    std::string recordText;
    int64_t playStartTime = 0;  // wall-clock seconds at the start of the current game

    // Reads the five keys; true when a usable fortress (a name and a non-zero seed) was stored.
    bool loadPreferences();
    // New seed from the clock and the name that seed gives (fortressNameForSeed), both
    // saved. No game's random engine is drawn from.
    void createNewFortress(int64_t now);
    void createNewFortress();
    // A write that fails is one line on standard error: the game goes on with the
    // fortress, but the player must learn that it will not be there next time.
    void saveFortressIdentity() const;
    // Stores the time since playStartTime when it beats the record; true if it did.
    bool storeRecordIfBetter(int64_t now);
    bool storeRecordIfBetter();
    void formatRecordText();
};

// A pronounceable name: alternating vowels and consonants (never q), starting with
// either; the first letter capitalised when asked.
std::string makeFortressName(int minLength, int maxLength, bool capitalise, RandomEngine& engine);

// The name of a new fortress, drawn from an engine of its own seeded with the
// fortress seed: the same seed always gives the same name, and the game's engine is
// left as it was.
std::string fortressNameForSeed(uint32_t seed);

// Splits an elapsed time into hours (whole days dropped), minutes and seconds.
void splitElapsed(int64_t elapsed, int32_t& hours, int32_t& minutes, int32_t& seconds);
