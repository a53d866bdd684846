#pragma once
// The designs of the game's sounds. Each function renders one sound as mono or stereo
// samples at full scale; the caller removes DC, fades and normalises.
#include <cstdint>

#include "Synth.h"

namespace assetgen::sfx {
using synth::Buffer;
using synth::Stereo;

// Interface.
Buffer buttonHovered();
Buffer buttonClicked();
Buffer screenshot();

// Weapons and flashlight.
Buffer rifleShot();
Buffer sniperShot();
Buffer dryFire();
Buffer flashlightOn();
Buffer flashlightOff();
Buffer reload();

// Enemies.
Buffer enemyHit();
Buffer enemyFire();
Buffer enemyExplodes();
Buffer enemyPowersDown();
Buffer enemyDropsItem();

// World and mission.
Buffer thunder();
Buffer footsteps(bool running);  // a loop of whole steps
Buffer healthPickUp();
Buffer itemPickUp();
Buffer gateOpens();
Buffer refusal();
Buffer energyCellConnected();
Buffer spaceshipLiftOff();
Buffer spaceshipFliesAway();
Buffer scanner();
Buffer routeMarker();
Buffer recordFanfare();
Buffer teleport();
Buffer forceFieldPass();
Buffer obstacleRemoved();

// The player's voice: three kinds of cry, three variants each (0, 1, 2).
Buffer playerHit(int variant);
Buffer playerDamage(int variant);
Buffer playerDeath(int variant);

}  // namespace assetgen::sfx

namespace assetgen::music {
using synth::Stereo;

// Loopable tracks: the sample after the last one is musically the first one again.
Stereo mainMenu();
Stereo inGame();
Stereo pause();

}  // namespace assetgen::music
