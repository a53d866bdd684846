#include "gameplay/Enemy.h"

#include <array>
#include <cstdio>

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

bool Enemy::spawnAtRandom(RandomEngine& random) {
    for (int32_t attempt = 0; attempt < kSpawnTryLimit; ++attempt) {
        const float x = static_cast<float>(random.uniformReal(spawnMin, spawnMax));
        const float z = static_cast<float>(random.uniformReal(spawnMin, spawnMax));
        const int32_t i = cellOf(x), j = cellOf(z);
        if (!insideWorld(i, j) || !worldGrid[static_cast<size_t>(i)][static_cast<size_t>(j)].blocksMovement) {
            position = {x, 0.0f, z};
            return true;
        }
    }
    std::fputs("ERROR: No free spawn position for an enemy.\n", stderr);
    return false;
}

std::vector<Enemy> createEnemies(RandomEngine& random) {
    std::vector<Enemy> enemies(kEnemyCount);
    for (Enemy& e : enemies) {
        // The spawn square is set before the draws that use it.
        e.spawnAtRandom(random);
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

void Enemy::updateEnemy(const GroundHeight&, const Camera&, float, bool, GridCell, RuleContext&) {}
void Enemy::takeDamage(int32_t, RuleContext&) {}
void Enemy::firstPass(Player&, RuleContext&) {}
void Enemy::secondPass(Player&, RuleContext&) {}
