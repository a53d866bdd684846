#pragma once
// The state of one fortress and of the game being played in it, and the rules of the
// playing frame, without a window: the game draws what this holds, and the headless
// sim and the tests drive the same code with events and frame times given as data.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gameplay/Cloth.h"
#include "gameplay/Particles.h"
#include "scene/Camera.h"
#include "scene/DrawWindow.h"
#include "gameplay/Enemy.h"
#include "gameplay/GameServices.h"
#include "gameplay/InputEvent.h"
#include "scene/Lights.h"
#include "gameplay/Player.h"
#include "gameplay/RouteSearch.h"
#include "gameplay/Scanner.h"
#include "gameplay/WorldRequests.h"
#include "util/Random.h"
#include "world/FortressBuild.h"
#include "world/Terrain.h"
#include "world/WorldGrid.h"
#include "world/WorldInstances.h"

class RandomEngine;

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

// The weather: a storm builds over about two minutes, rolls thunder while it is
// strong, and clears again.
struct Thunderstorm {
    float timer = 0.0f;
    bool active = false;
    bool flashOn = false;
    bool falling = false;
    int32_t flashesLeft = 0;
    float flashTimer = 0.0f;
    float level = 0.0f;
};

// The inventory counts the HUD shows, refreshed once a second. Until the first
// refresh they are those of the empty inventory a game starts with.
struct HudCounters {
    std::string nodesText = "0/15";  // cloaking nodes disabled, "n/15"
    std::string scannerText = "0";   // scanner cards held
    int32_t hiyura = 0;
    int32_t energyCell = 0;
    int32_t connectedCells = 0;
    int32_t injector = 0;
    int32_t keyRed = 0;
    int32_t keyGreen = 0;
    int32_t keyYellow = 0;
    int32_t repellent = 0;
    int32_t inductor = 0;
    int32_t compassSector = 0;  // 0 ahead, 1 north, 2 south
};

// What the in-game frame's rules decided about the end of the game.
enum class FrameOutcome { Playing, ReturnToMenu };

inline constexpr int32_t kRevealSize = 11;
using RevealTable = std::array<std::array<float, kRevealSize>, kRevealSize>;

// Concentric rings of map fog around the player's cell: 0.2 in the middle 3 x 3, each
// ring outwards 0.125 more, 0.7 on the outer ring.
RevealTable makeRevealTable();

class Session {
public:
    Session();

    // ---- What the game owns: nothing of a game lives outside its session ----
    // The world grid every stage and rule of this game reads and writes.
    WorldCells grid{};
    // Every run-time draw of this game: seeded with the fortress seed at start-up, before
    // the fortress build; the trace counts its draws since.
    RandomEngine random;

    // ---- World content, built once per game ----
    Terrain terrain;
    WorldInstances world;
    std::vector<Enemy> enemies;
    std::vector<EnemyLooks> enemyLooks;  // the model each drone wears, in enemy order
    GridCell hiyuraCell{};
    GridCell spaceshipCell{};
    WorldCells initialWorld{};  // the furnished grid every later game restarts from
    std::vector<ScannerTarget> scannerTargets;
    int32_t correctForceField = 24;
    RouteGrid routeGrid{};
    ModelLoader* models = nullptr;  // loads the models of objects placed during play

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
    Thunderstorm thunderstorm;
    bool thunderFlash = false;  // a lightning flash lights this frame

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
    bool newRecord = false;
    std::string messageText;  // the message line, shown while messageTimer > 0
    // A text for the message line filed outside the update (the scanner's report, the
    // new record's line, which comes after the update's messages): the next unfrozen
    // update shows it. Empty = none.
    std::string queuedMessage;
    HudCounters hud;
    bool hiyuraReachable = false;  // her object has been drawn revealed: a scanner target
    float deathTimer = 0.0f;       // runs after the player's death
    bool grayScale = false;        // the world turns grey at low health
    bool markerBlinkOn = true;     // the map screen's player marker
    // Compares the escape time with the stored record and stores a better one.
    std::function<bool()> storeRecordIfBetter;
    DrawWindow drawWindow;
    RevealTable revealTable{};
    float skyRotationDegrees = 0.0f;  // the sky turns half a degree per second of unfrozen play

    // ---- Start-up, in the game's order ----
    // The terrain's height field and mesh (the same for every fortress).
    void buildTerrain();
    float groundHeight(float x, float z) const { return terrain.heightAt(x, z); }
    GroundHeight ground() const;
    // What the fortress build (into grid, drawing from random) leaves for play: the
    // snapshot, the scanner's targets, the safe force field, Hiyura's and the spaceship's
    // cells.
    void adoptFortress(const FortressSetup& setup);
    // After the fortress is furnished: the instance of every furnished cell, the drones
    // (spawn and effect draws), the rocks, then the drones' looks (one roll each).
    void populateWorld(ModelLoader& models, const std::function<void()>& afterRow = {});
    void setUpLights();
    void createParticleSystems();
    void createClothFlag();
    void initialisePlayer();

    // ---- A game ----
    // Every per-game reset: weather, player, drones, counters, the escape; every game
    // after the first also gets the furnished world and the lights back.
    void startGame(bool firstGame);

    // ---- The playing frame ----
    // The game update; frozen frames (an overlay is shown) only count the HUD timer. In
    // its order: the HUD timer, the spinning objects, the player's frame with its touch,
    // the drones, the view and the shot, the weather, the music, the HUD counters, the
    // message timers and the messages, the world changes filed so far, Hiyura shown, the
    // escape and the slow tick.
    void update(float dt, const InputEvents& events, GameServices& services, bool overlayFreeze);
    // The rules the in-game frame applies before and while it draws, in its order: the
    // cloth, the sliding gate, the spaceship's lift-off, Hiyura shown, the drones' two
    // passes with their damage, the particles, the scope's view, the grey warning, and
    // the ends of the game. Called once per playing frame after update.
    // mapShown: the map screen is drawn, and its player marker blinks with the HUD timer.
    FrameOutcome frameRules(float dt, GameServices& services, bool overlayFreeze, bool mapShown = false);

    // Key N while playing.
    void useScanner(GameServices& services);

    // The slow tick's two jobs, every two seconds.
    void tickLightCycle();
    void updateDrawWindow();

private:
    // The steps of the update, in its order (see update).
    void runHudCacheTimer(float dt);
    void turnSpinningObjects(float dt);
    void wakeAndMoveDrones(float dt, RuleContext& context);
    void runMessageTimers(float dt);
    void showMessages(const std::string& touchMessage);
    void revealHiyura();
    void runSlowTick(float dt);
    void updateThunderstorm(float dt, GameServices& services);
    void updateLightning(float dt);
    void refreshHudCounters();
    void serveRequests();
    void updateEscape(float dt, GameServices& services);
    void moveModelInstances(float dt);
    void applyScopeView();
};
