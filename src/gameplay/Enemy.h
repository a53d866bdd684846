#pragma once
// The fortress's 60 drones as plain records: their numbers at creation, where they
// appear, their two particle effects and the model each one wears. Their behaviour
// runs in the frame's update; the drawing side only reads them.
#include <cstdint>
#include <vector>

#include <glm/vec3.hpp>

#include "gameplay/Particles.h"
#include "scene/Camera.h"
#include "scene/ModelHandle.h"
#include "world/WorldInstances.h"

#include "gameplay/RuleContext.h"
#include "world/WorldGrid.h"

class RandomEngine;
struct Player;

inline constexpr int32_t kEnemyCount = 60;

struct Enemy {
    float retreatDistance = 75.0f;
    float chaseDistance = 350.0f;
    Camera cameraCopy;
    glm::vec3 position{0.0f};
    glm::vec3 bias{1.0f, 1.0f, 1.0f};
    glm::vec3 projectilePosition{0.0f};
    glm::vec3 projectileTarget{0.0f};
    glm::vec3 deathPosition{0.0f};
    float speed = 25.0f;
    float projectileSpeed = 120.0f;
    float projectileDamage = 10.0f;
    float frameTime = 0.0f;
    float deadTime = 0.0f;
    float contactCooldown = 0.0f;
    float dodgeTimer = 0.0f;
    float dodgeTime = 0.0f;
    float sightTimer = 0.0f;
    float blastSize = 0.01f;
    float hitTimer = 0.0f;
    float deathTimer = 0.0f;
    int32_t health = 100;
    bool dead = false;
    bool hit = false;
    bool dodging = false;
    bool projectileReady = true;
    bool projectileInFlight = false;
    bool firing = false;
    bool respawns = true;
    bool exploding = false;
    bool blastArmed = true;
    ParticleSystem damageEffect;
    ParticleSystem destroyEffect;
    float spawnMin = 90.0f;
    float spawnMax = 3512.12f;
    float dodgeDirection = 1.0f;
    bool dodgeAlongX = true;

    // A random position whose cell is outside the grid or free to walk: x, then z.
    // False when the bounded search found none (the position is then unchanged).
    bool spawnAtRandom(const WorldCells& grid, RandomEngine& random);

    // What this frame's drawing passes asked to show (cleared at the start of each pass).
    bool damageEffectShown = false;   // the hit sparks ran at the drone
    bool destroyEffectShown = false;  // the wreck's particles ran at deathPosition
    bool blastShown = false;          // the blast stands at projectileTarget, blastSize wide

    // One frame of an awake drone: hover, chase or back away, dodge, slide along walls,
    // look for the player over the grid and fly its energy ball. playerCell is the
    // player's cell as the player update left it. Cells beyond the grid count as walls.
    void updateEnemy(const GroundHeight& ground, const Camera& camera, float dt, bool playerDead, GridCell playerCell,
                     RuleContext& context);
    // The energy ball's launch and flight, while the drone is firing.
    void updateProjectile(float dt, RuleContext& context);
    // A hit from the player's gun: may kill and drop an item into the death cell.
    void takeDamage(int32_t amount, RuleContext& context);
    // The first drawing pass: contact and projectile damage, the hit and wreck
    // effects, the respawn countdown. A respawn that finds no free cell leaves the
    // drone dead with respawning off.
    void firstPass(Player& player, RuleContext& context);
    // The second drawing pass: the blast of the energy ball and its one-time damage.
    void secondPass(Player& player, RuleContext& context);
    // Respawning after death (a new game turns it on for every awake drone).
    void setRespawns(bool value) { respawns = value; }
};

// The looks of one drone, decided by a percent roll: its model, scale and offset.
struct EnemyKind {
    const char* modelPath;
    glm::vec3 scale;
    glm::vec3 offset;
    bool shortRetreat;  // this kind's retreat distance becomes 2
};

const EnemyKind& enemyKindForRoll(int32_t roll);

struct EnemyLooks {
    ModelHandle model = kNoModel;
    glm::vec3 scale{1.0f};
    glm::vec3 offset{0.0f};
};

// The 60 drones in list order: each draws its spawn position, then its hit effect's
// and its destroy effect's particles.
std::vector<Enemy> createEnemies(const WorldCells& grid, RandomEngine& random);
// One percent roll per drone, in list order (after the scenery rocks): its model and,
// for the recon drone, the short retreat distance.
std::vector<EnemyLooks> chooseEnemyLooks(std::vector<Enemy>& enemies, RandomEngine& random, ModelLoader& models);
