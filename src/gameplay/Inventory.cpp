#include "gameplay/Player.h"

#include <algorithm>
#include <array>

#include "util/Random.h"
#include "world/ObjectTables.h"

namespace {

constexpr int32_t kCloakingNodes = 15;
constexpr float kHurtSeconds = 2.0f;

const std::array<const char*, 3> kDeathSounds = {"PlayerDead_1", "PlayerDead_2", "PlayerDead_3"};
const std::array<const char*, 3> kEnemyHitSounds = {"PlayerHit_1", "PlayerHit_2", "PlayerHit_3"};
const std::array<const char*, 3> kWorldDamageSounds = {"PlayerDamage_1", "PlayerDamage_2", "PlayerDamage_3"};

// Mission objects whose pick-up the scanner must remember, so it stops pointing there.
bool isScannerTarget(int32_t id) {
    return id == item::CloakerNode || id == item::EnergyCell || id == item::Hiyura;
}

}  // namespace

int32_t Player::itemCount(int32_t id) const {
    const auto it = std::find_if(inventory.begin(), inventory.end(), [id](const InventoryItem& p) { return p.id == id; });
    return it == inventory.end() ? 0 : it->count;
}

bool Player::takeItem(int32_t id) {
    const auto it = std::find_if(inventory.begin(), inventory.end(), [id](const InventoryItem& p) { return p.id == id; });
    if (it == inventory.end() || it->count <= 0) return false;
    --it->count;
    return true;
}

PickUp Player::addItem(int32_t id, int32_t n) {
    auto it = std::find_if(inventory.begin(), inventory.end(), [id](const InventoryItem& p) { return p.id == id; });
    if (it != inventory.end()) {
        // Energy cells are carried one at a time, to be connected at a platform.
        if (id == item::EnergyCell && it->count != 0) return PickUp::SecondEnergyCellRefused;
        it->count += n;
    } else {
        inventory.push_back({id, n});
        it = inventory.end() - 1;
    }
    const bool lastNode = id == item::CloakerNode && it->count == kCloakingNodes;
    if (isScannerTarget(id)) collectedTargets.push_back({cellX, id, cellZ});
    return lastNode ? PickUp::LastCloakingNode : PickUp::Taken;
}

void Player::damagePlayer(float amount, bool byEnemy, RuleContext& context) {
    // Once the escape has begun nothing on the planet can hurt the player any more: a
    // drone's last shot must not turn the take-off into a death.
    if (dead || escaping) return;
    hurt = true;
    hurtTimer = kHurtSeconds;
    if (!invulnerable) health -= static_cast<int32_t>(amount);
    const auto v = static_cast<size_t>(context.random.uniformInt(1, 3) - 1);
    if (health < 1) {
        health = 0;
        context.services.playOneShot(kDeathSounds[v]);
        return;
    }
    context.services.playOneShot(byEnemy ? kEnemyHitSounds[v] : kWorldDamageSounds[v]);
}
