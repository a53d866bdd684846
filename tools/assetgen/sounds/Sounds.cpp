// Writes every sound of the game under Data/Audio/: effects as mono WAV, the three
// music tracks as stereo MP3. The music is rendered and encoded on its own threads,
// since encoding dominates the time.
#include <cmath>
#include <cstdio>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "../Assets.h"
#include "AudioFile.h"
#include "Designs.h"

namespace assetgen {
using namespace synth;

namespace {

struct Effect {
    const char* file;
    std::function<Buffer()> render;
    double peakDb;  // loudness in the game's mix: all below full scale
    bool loops;     // played back to back: no fades, the joint must be seamless
};

// Levels: gunshots and explosions loudest, interface blips well below them.
std::vector<Effect> effects() {
    using namespace sfx;
    return {
        {"ButtonHovered.wav", buttonHovered, -12, false},
        {"ButtonClicked.wav", buttonClicked, -6, false},
        {"AR_Fired.wav", rifleShot, -2, false},
        {"Scope_Fired.wav", sniperShot, -1, false},
        {"Shot_no_ammo.wav", dryFire, -8, false},
        {"FlashLightOn.wav", flashlightOn, -9, false},
        {"FlashLightOff.wav", flashlightOff, -9, false},
        {"EnemyHit.wav", enemyHit, -4, false},
        {"PlayerHit_1.wav", [] { return playerHit(0); }, -3, false},
        {"PlayerHit_2.wav", [] { return playerHit(1); }, -3, false},
        {"PlayerHit_3.wav", [] { return playerHit(2); }, -3, false},
        {"PlayerDamage_1.wav", [] { return playerDamage(0); }, -4, false},
        {"PlayerDamage_2.wav", [] { return playerDamage(1); }, -4, false},
        {"PlayerDamage_3.wav", [] { return playerDamage(2); }, -4, false},
        {"PlayerDead_1.wav", [] { return playerDeath(0); }, -2, false},
        {"PlayerDead_2.wav", [] { return playerDeath(1); }, -2, false},
        {"PlayerDead_3.wav", [] { return playerDeath(2); }, -2, false},
        {"Thunder.wav", thunder, -2, false},
        {"FireEnemy.wav", enemyFire, -5, false},
        {"FootstepsWalk.wav", [] { return footsteps(false); }, -9, true},
        {"FootstepsRun.wav", [] { return footsteps(true); }, -7, true},
        {"EnemyDead.wav", enemyExplodes, -2, false},
        {"EnemyDead2.wav", enemyPowersDown, -2, false},
        {"Reloading.wav", reload, -5, false},
        {"Item_health.wav", healthPickUp, -5, false},
        {"PickUpInv.wav", itemPickUp, -5, false},
        {"OpenDoor.wav", gateOpens, -3, false},
        {"NoItemInv.wav", refusal, -8, false},
        {"EnergyCellConnected.wav", energyCellConnected, -3, false},
        {"Spaceship_1.wav", spaceshipLiftOff, -1, false},
        {"Spaceship_2.wav", spaceshipFliesAway, -1, false},
        {"UseScanner.wav", scanner, -6, false},
        {"Follow_trace_path.wav", routeMarker, -8, false},
        {"NewRecord.wav", recordFanfare, -2, false},
        {"Screenshot.wav", screenshot, -6, false},
        {"Teleport.wav", teleport, -3, false},
        {"Force_field_correct.wav", forceFieldPass, -5, false},
        {"RemoveItem.wav", obstacleRemoved, -4, false},
        {"EnemyDropItem.wav", enemyDropsItem, -6, false},
    };
}

struct Track {
    const char* file;
    std::function<Stereo()> render;
    double peakDb;
};

// The game plays the menu music at three times full volume (with clipping) and the
// others turned down, so the menu track is mastered that much quieter.
std::vector<Track> tracks() {
    return {
        {"MainMenu.mp3", music::mainMenu, -11},
        {"InGame.mp3", music::inGame, -1.5},
        {"PauseGame.mp3", music::pause, -1.5},
    };
}

void normalise(Buffer& b, double peakDb) {
    const float peak = peakOf(b);
    if (peak > 0) scale(b, dbToGain(peakDb) / peak);
}

Buffer master(Buffer b, double peakDb, bool loops) {
    // One-shots lose their inaudible tail and start and end softly; loops join on
    // themselves and must keep their exact length.
    if (!loops) {
        trimTail(b, 60.0);
        fadeEdges(b, 0.001, 0.01);
    }
    removeDc(b, loops);
    normalise(b, peakDb);
    return b;
}

Stereo master(Stereo s, double peakDb) {
    removeDc(s.left, true);
    removeDc(s.right, true);
    // The player restarts the track when it ends, after a short pause of its own; the
    // fades keep both sides of that pause free of clicks.
    fadeEdges(s.left, 0.005, 0.06);
    fadeEdges(s.right, 0.005, 0.06);
    const float peak = std::max(peakOf(s.left), peakOf(s.right));
    if (peak > 0) {
        const float gain = dbToGain(peakDb) / peak;
        scale(s.left, gain);
        scale(s.right, gain);
    }
    return s;
}

}  // namespace

bool generateSounds(const std::filesystem::path& dataDir) {
    const std::filesystem::path dir = dataDir / "Audio";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);

    std::vector<std::future<bool>> music;
    for (const Track& t : tracks())
        music.push_back(std::async(std::launch::async, [t, dir] { return audio::writeMp3(dir / t.file, master(t.render(), t.peakDb)); }));

    bool ok = true;
    for (const Effect& e : effects()) {
        if (!audio::writeWav(dir / e.file, master(e.render(), e.peakDb, e.loops))) ok = false;
    }
    for (auto& m : music) ok = m.get() && ok;
    if (!ok) std::fprintf(stderr, "assetgen: some sounds could not be written\n");
    return ok;
}

}  // namespace assetgen
