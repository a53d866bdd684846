#pragma once
// The state of one fortress and of the game being played in it, and the rules of the
// playing frame, without a window: the game draws what this holds, and the headless
// sim and the tests drive the same code with events and frame times given as data.
#include <array>
#include <cstdint>
#include <vector>

#include "effects/sim/Cloth.h"
#include "effects/sim/Particles.h"
#include "gameplay/Camera.h"
#include "gameplay/Enemy.h"
#include "gameplay/GameServices.h"
#include "gameplay/InputEvent.h"
#include "gameplay/Lights.h"
#include "gameplay/Player.h"
#include "gameplay/WorldRequests.h"
#include "world/Terrain.h"
#include "world/WorldGrid.h"
#include "world/WorldInstances.h"

class RandomEngine;

// Block objects are drawn only inside this window of cells around the player, once it
// has been computed.
struct DrawWindow {
    int32_t minX = 0;
    int32_t minZ = 0;
    int32_t maxX = 0;
    int32_t maxZ = 0;
    bool valid = false;

    bool contains(int32_t i, int32_t j) const { return !valid || (i >= minX && i <= maxX && j >= minZ && j <= maxZ); }
};

// The sky's slow colour changes; also holds the two-second tick that moves the draw window.
struct LightCycle {
    std::vector<glm::vec3> palette;
    int32_t currentIndex = 0;
    int32_t targetIndex = 0;
    glm::vec3 target{0.0f};
    glm::vec3 current{0.0f};
    glm::vec3 step{0.0f};
    float slowTickTimer = 0.0f;
    int32_t holdTicks = 0;
    int32_t tickCount = 0;
    bool transitioning = false;
};

inline constexpr int32_t kRevealSize = 11;
using RevealTable = std::array<std::array<float, kRevealSize>, kRevealSize>;

// Concentric rings of map fog around the player's cell: 0.2 in the middle 3 x 3, each
// ring outwards 0.125 more, 0.7 on the outer ring.
RevealTable makeRevealTable();

class Session {
public:
    Session();

    // ---- World content, built once per process ----
    Terrain terrain;
    WorldInstances world;
    std::vector<Enemy> enemies;
    std::vector<EnemyLooks> enemyLooks;  // the model each drone wears, in enemy order
    GridCell hiyuraCell{};
    GridCell spaceshipCell{};

    // ---- Lights ----
    DirectionalLight directionalLight;
    DirectionalLight drawingLight;  // the copy the frame's drawing reads
    PointLight pointLight;
    LightCycle lightCycle;

    // ---- Effects ----
    ParticleSystem girlEffect;
    ParticleSystem spaceshipEffect;
    glm::vec3 girlEffectPosition{0.0f};
    bool girlEffectShown = false;
    glm::vec3 spaceshipEffectPosition{0.0f};
    Cloth cloth;

    // ---- The player ----
    Camera sceneCamera;
    Player player;
    AimController aim;
    WorldRequests requests;  // served by the next update

    // ---- Timers and counters of the update ----
    int32_t activeEnemyCount = 1;
    float enemySpawnTimer = 0.0f;
    bool enemiesAwake = true;
    float hudCacheTimer = 1.0f;
    float fortressNameTimer = 5.0f;
    float messageTimer = 0.0f;
    float spinAngleSlow = 0.3f;
    float spinAngleFast = 0.3f;
    int32_t escapeStage = 0;
    float escapeTimer = 0.0f;
    DrawWindow drawWindow;
    RevealTable revealTable{};
    float skyRotationDegrees = 0.0f;  // the sky turns half a degree per second of unfrozen play

    // ---- Start-up, in the game's order ----
    // The terrain's height field and mesh (the same for every fortress).
    void buildTerrain();
    float groundHeight(float x, float z) const { return terrain.heightAt(x, z); }
    GroundHeight ground() const;
    // After the fortress is furnished: the instance of every furnished cell, the drones
    // (spawn and effect draws), the rocks, then the drones' looks (one roll each).
    void populateWorld(RandomEngine& random, ModelLoader& models, const std::function<void()>& afterRow = {});
    void setUpLights();
    void createParticleSystems(RandomEngine& random);
    void createClothFlag();
    void initialisePlayer();

    // ---- A game ----
    // The per-game resets that exist so far: the player and camera, the timers.
    void startGame();

    // ---- The playing frame ----
    // The game update; frozen frames (an overlay is shown) only count the HUD timer.
    void update(float dt, const InputEvents& events, GameServices& services, bool overlayFreeze);
    // The rules the in-game frame applies before and while it draws: the cloth's step,
    // the particle effects' advance. Called once per playing frame after update.
    void frameRules(float dt, RandomEngine& random, bool overlayFreeze);

    // The two-second work of the slow tick that exists so far.
    void updateDrawWindow();
};
