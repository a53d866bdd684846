#include "gameplay/Enemy.h"

#include <array>
#include <cstdio>

#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include "gameplay/Player.h"
#include "util/Random.h"
#include "world/WorldGrid.h"

namespace {

// Far beyond what a real fortress needs: most of the spawn square is open ground.
constexpr int32_t kSpawnTryLimit = 1'000'000;

constexpr std::array<EnemyKind, 7> kKinds = {{
    {"../Data/Models3D/Enemy/cildrone.dae", {10.0f, 10.0f, 10.0f}, {0.0f, 0.0f, 0.0f}, false},
    {"../Data/Models3D/Enemy/recondrone.dae", {5.0f, 5.0f, 5.0f}, {0.0f, 5.5f, 0.0f}, true},
    {"../Data/Models3D/Enemy/recondrone_2.dae", {5.0f, 5.0f, 5.0f}, {0.0f, 5.5f, 0.0f}, false},
    {"../Data/Models3D/Enemy/enemy_pyramid.dae", {4.3f, 6.5f, 4.3f}, {0.0f, 2.0f, 0.0f}, false},
    {"../Data/Models3D/Enemy/enemy_pyramid_2.dae", {4.3f, 6.5f, 4.3f}, {0.0f, 2.0f, 0.0f}, false},
    {"../Data/Models3D/Enemy/enemy_skull.dae", {12.0f, 12.0f, 12.0f}, {0.0f, 2.0f, 0.0f}, false},
    {"../Data/Models3D/Enemy/enemy_skull_2.dae", {12.0f, 12.0f, 12.0f}, {0.0f, 2.0f, 0.0f}, false},
}};

}  // namespace

const EnemyKind& enemyKindForRoll(int32_t roll) {
    // 1-9, 10-19, ..., 50-59, then 60-100.
    const int32_t k = roll < 10 ? 0 : roll >= 60 ? 6 : roll / 10;
    return kKinds[static_cast<size_t>(k)];
}

bool Enemy::spawnAtRandom(const WorldCells& grid, RandomEngine& random) {
    for (int32_t attempt = 0; attempt < kSpawnTryLimit; ++attempt) {
        const float x = static_cast<float>(random.uniformReal(spawnMin, spawnMax));
        const float z = static_cast<float>(random.uniformReal(spawnMin, spawnMax));
        const int32_t i = cellOf(x), j = cellOf(z);
        if (!insideWorld(i, j) || !grid[static_cast<size_t>(i)][static_cast<size_t>(j)].blocksMovement) {
            position = {x, 0.0f, z};
            return true;
        }
    }
    std::fputs("ERROR: No free spawn position for an enemy.\n", stderr);
    return false;
}

std::vector<Enemy> createEnemies(const WorldCells& grid, RandomEngine& random) {
    std::vector<Enemy> enemies(kEnemyCount);
    for (Enemy& e : enemies) {
        // The spawn square is set before the draws that use it.
        e.spawnAtRandom(grid, random);
        e.damageEffect.init(20, 1.0f, random);
        e.destroyEffect.init(10, 0.1f, random);
    }
    return enemies;
}

std::vector<EnemyLooks> chooseEnemyLooks(std::vector<Enemy>& enemies, RandomEngine& random, ModelLoader& models) {
    std::vector<EnemyLooks> looks;
    looks.reserve(enemies.size());
    for (Enemy& e : enemies) {
        const EnemyKind& kind = enemyKindForRoll(random.percentRoll());
        if (kind.shortRetreat) e.retreatDistance = 2.0f;
        looks.push_back({models.loadModel(kind.modelPath, ModelProgram::Enemy), kind.scale, kind.offset});
    }
    return looks;
}

namespace {

// Hidden things (a dead drone, a spent energy ball) are parked far below the ground.
constexpr float kHiddenY = -999.0f;

// A drone treats everything beyond the grid as solid: its steps, its sight line and its
// energy ball must never read past the grid's edge, whatever the spawn square allows.
bool blocksDrone(const WorldCells& grid, int32_t i, int32_t j) {
    return !insideWorld(i, j) || grid[static_cast<size_t>(i)][static_cast<size_t>(j)].blocksMovement;
}

bool blocksDroneAt(const WorldCells& grid, const glm::vec3& p) { return blocksDrone(grid, cellOf(p.x), cellOf(p.z)); }

// Heading toward `to` at `speed`, less the bias, each component clamped to the speed.
// Standing on the target gives no heading rather than a NaN that would stick forever.
glm::vec3 steering(const glm::vec3& from, const glm::vec3& to, float speed, const glm::vec3& bias) {
    const glm::vec3 delta = to - from;
    const float length = glm::length(delta);
    const glm::vec3 heading = length > 0.0f ? delta / length : glm::vec3(0.0f);
    return glm::clamp(heading * speed - bias, -speed, speed);
}

int32_t stepToward(int32_t from, int32_t to) { return from < to ? from + 1 : from > to ? from - 1 : from; }

// Walks the grid from the drone's cell to the player's, both axes at once (so the path
// runs diagonally first). The drone's own cell is never tested; the player's always is.
bool gridSight(const WorldCells& grid, GridCell from, GridCell to) {
    int32_t x = from.i, z = from.j;
    do {
        x = stepToward(x, to.i);
        z = stepToward(z, to.j);
        if (blocksDrone(grid, x, z)) return false;
    } while (x != to.i || z != to.j);
    return true;
}

float horizontalDistance(const glm::vec3& a, const glm::vec3& b) {
    return glm::length(glm::vec2(a.x - b.x, a.z - b.z));
}

}  // namespace

void Enemy::updateEnemy(const GroundHeight& ground, const Camera& camera, float dt, bool playerDead,
                        GridCell playerCell, RuleContext& context) {
    frameTime = dt;
    cameraCopy = camera;
    if (dead) {
        position.y = kHiddenY;
        projectilePosition.y = kHiddenY;
        if (deathTimer > 0.0f) deathTimer -= dt;
        else deathTimer = 0.0f;
        return;
    }

    position.y = ground(position.x, position.z) + 12.0f;
    const glm::vec3 player = cameraCopy.position;
    const float d = glm::distance(position, player);
    const glm::vec3 old = position;

    // Pursuit: backing away is slower than closing in.
    if (d < retreatDistance) {
        position -= steering(position, player, speed, bias) * dt * 1.5f;
    } else if (d < chaseDistance) {
        position += steering(position, player, speed, bias) * dt * 2.5f;
    }

    if (hitTimer > 0.0f) hitTimer -= dt;
    else hitTimer = 0.0f;
    if (contactCooldown > 0.0f) contactCooldown -= dt;
    else contactCooldown = 0.0f;

    // For about a second after a hit the drone may decide, every frame, to dodge.
    if (hit) {
        dodgeTimer += 0.1f * dt;
        if (dodgeTimer <= 0.1f) {
            if (context.random.percentRoll() > 70) {
                dodging = true;
                dodgeDirection = context.random.percentRoll() < 51 ? -1.0f : 1.0f;
                dodgeAlongX = context.random.percentRoll() > 50;
            }
        } else {
            hit = false;
            dodgeTimer = 0.0f;
        }
    }
    if (dodging) {
        const float step = speed * 5.0f * dt * dodgeDirection;
        if (dodgeAlongX) position.x += step;
        else position.z += step;
        dodgeTime += 0.1f * dt;
        if (dodgeTime > 0.07f) {
            dodging = false;
            dodgeTime = 0.0f;
        }
    }

    // Walls: slide along whichever axis is still open.
    const WorldCells& grid = context.grid;
    const int32_t newX = cellOf(position.x), newZ = cellOf(position.z);
    if (blocksDrone(grid, newX, newZ)) {
        const int32_t oldX = cellOf(old.x), oldZ = cellOf(old.z);
        bool bothBlocked = false;
        if (blocksDrone(grid, newX, oldZ)) {
            if (!blocksDrone(grid, oldX, newZ)) position.x = old.x;
            else bothBlocked = true;
        } else {
            position.z = old.z;
        }
        const bool inSquare = position.x >= spawnMin && position.x <= spawnMax && position.z >= spawnMin &&
                              position.z <= spawnMax;
        if (bothBlocked && inSquare) position = old;
    }

    // The sight check comes round at random intervals, about every 2.7 s.
    if (sightTimer <= 0.8f) {
        sightTimer += static_cast<float>(context.random.uniformReal(0.1f, 0.5f)) * dt;
    } else {
        sightTimer = 0.0f;
        const GridCell own{cellOf(position.x), cellOf(position.z)};
        const GridCell origin{0, 0};
        if (d <= 450.0f && !firing && !playerDead && playerCell != origin && own != origin &&
            gridSight(grid, own, playerCell)) {
            firing = true;
        }
    }

    if (firing) {
        projectilePosition.y = ground(projectilePosition.x, projectilePosition.z) + 10.0f;
        updateProjectile(dt, context);
    }
}

void Enemy::updateProjectile(float dt, RuleContext& context) {
    if (projectileReady && !exploding) {
        // It homes on where the player stood at launch, not on the moving player.
        projectilePosition = position;
        projectileTarget = cameraCopy.position;
        projectileReady = false;
        projectileInFlight = true;
        context.services.playOneShot("FireEnemy");
    }
    projectilePosition += steering(projectilePosition, projectileTarget, projectileSpeed, bias) * dt * 2.5f;
    // A wall (or the grid's edge) ends the flight where the ball stands.
    if (blocksDroneAt(context.grid, projectilePosition)) projectileTarget = projectilePosition;
    if (horizontalDistance(projectilePosition, projectileTarget) <= 3.0f) {
        projectilePosition = position;
        projectilePosition.y = kHiddenY;
        exploding = true;
        firing = false;
        projectileReady = true;
    }
}

void Enemy::takeDamage(int32_t amount, RuleContext& context) {
    health -= amount;
    hit = true;
    hitTimer = 2.0f;
    if (health >= 1) return;

    deathPosition = position;
    dead = true;
    deathTimer = 3.0f;
    context.services.playOneShot(context.random.percentRoll() < 51 ? "EnemyDead2" : "EnemyDead");

    const int32_t roll = context.random.percentRoll();
    const int32_t item = roll <= 10 ? 3 : roll <= 20 ? 1 : roll <= 30 ? 12 : 0;  // ammunition, health, scanner card
    if (item == 0) return;
    int32_t x = cellOf(deathPosition.x), z = cellOf(deathPosition.z);
    if (!insideWorld(x, z)) x = z = 0;
    // A cell that already holds something keeps it; the drop is lost without a sound.
    if (context.grid[static_cast<size_t>(x)][static_cast<size_t>(z)].objectType != 0) return;
    placeCellObject(context.grid, context.requests, x, z, item, false, true, false, true, true);
    context.services.playOneShot("EnemyDropItem");
}

void Enemy::firstPass(Player& player, RuleContext& context) {
    damageEffectShown = false;
    destroyEffectShown = false;
    const glm::vec3 playerPosition = cameraCopy.position;

    if (!dead) {
        if (glm::distance(playerPosition, position) < 8.0f && contactCooldown == 0.0f) {
            contactCooldown = 1.0f;
            player.damagePlayer(30.0f, true, context);
        }
        if (hitTimer != 0.0f) {
            damageEffect.update(frameTime, position, context.random);
            damageEffectShown = true;
        }
        // The ball hurts on every frame it touches the player; a spent one is parked
        // far below and cannot.
        if (projectileInFlight && glm::distance(playerPosition, projectilePosition) < 2.0f) {
            player.damagePlayer(projectileDamage, true, context);
        }
    } else if (respawns) {
        position = glm::vec3(0.0f);
        projectilePosition = glm::vec3(0.0f);
        deadTime += frameTime;
        if (deadTime >= 10.0f) {
            if (spawnAtRandom(context.grid, context.random)) {
                deadTime = sightTimer = dodgeTime = dodgeTimer = hitTimer = 0.0f;
                hit = dead = exploding = false;
                blastSize = 0.01f;
                health = 100;
            } else {
                // No free cell in the spawn square: stay down rather than search again
                // every frame. A new game turns respawning back on.
                respawns = false;
            }
        }
    }

    if (dead && deathTimer != 0.0f) {
        destroyEffect.update(frameTime, deathPosition, context.random);
        destroyEffectShown = true;
    }
}

void Enemy::secondPass(Player& player, RuleContext& context) {
    blastShown = false;
    if (!exploding) return;
    blastSize += frameTime * 6.0f;
    if (blastSize >= 7.0f) {
        exploding = false;
        blastArmed = true;
        blastSize = 0.01f;
        return;
    }
    blastShown = true;
    if (blastArmed && glm::distance(cameraCopy.position, projectileTarget) < 4.0f * blastSize) {
        player.damagePlayer(projectileDamage, true, context);
        blastArmed = false;  // one blast hurts at most once
    }
}
