#include "gameplay/Interactions.h"

#include <algorithm>
#include <string>

#include "gameplay/WorldRequests.h"
#include "world/WorldGrid.h"

namespace {

constexpr int32_t kFullHealth = 100;
constexpr int32_t kHealthPackGain = 20;
constexpr int32_t kRifleRefill = 20;
constexpr int32_t kSniperRefill = 5;
constexpr int32_t kCellsForTakeOff = 4;
// The eye stands this far above the ground: the hazard test compares the feet.
constexpr float kEyeAboveGround = 10.0f;
constexpr float kForceFieldDamage = 100.0f;

// An empty template text suppresses the message, never the effect.
void showIfAny(Player& player, const std::string& text) {
    if (!text.empty()) player.setMessage(text);
}

// The picked-up or used-up object leaves its cell.
void takeAway(Player& player, RuleContext& context) {
    removeCellObject(context.grid, context.requests, player.cellX, player.cellZ, false, true);
}

bool isFull(const Weapon& gun) { return gun.ammo >= gun.magazineSize; }

// The item-table template of the touched object, or null when the object is a block
// or names no entry: those kinds only ever come from models.
const ItemDef* itemTemplate(bool isBlock, int32_t objectType) {
    if (isBlock || objectType < 0 || static_cast<size_t>(objectType) >= itemTable().size()) return nullptr;
    return &itemTable()[static_cast<size_t>(objectType)];
}

// True when the escape begins.
bool touchSpaceship(Player& player, const ItemDef& t, WorldCells& grid) {
    // Every check is made; the one reported is the last that fails, so a player who
    // has done nothing yet hears about the energy first.
    const char* missing = nullptr;
    if (player.itemCount(item::Hiyura) <= 0) missing = "Debes rescatar a Hiyura antes de escapar del planeta";
    if (player.itemCount(item::PlasmaInjector) <= 0)
        missing = "El Inyector de Plasma de tu nave esta roto, necesitas uno nuevo";
    if (player.itemCount(item::ConnectedCells) != kCellsForTakeOff)
        missing = "Tu nave no tiene energia. Debes conectar las 4 celulas de energia";
    if (missing != nullptr) {
        player.setMessage(missing);
        return false;
    }
    if (insideWorld(player.cellX, player.cellZ)) grid[player.cellX][player.cellZ].interactive = false;
    player.moveForward = player.moveBack = player.moveLeft = player.moveRight = false;
    player.escaping = true;
    showIfAny(player, t.message);
    return true;
}

}  // namespace

void interact(Player& player, Interaction kind, bool isBlock, int32_t objectType, int32_t correctForceField,
              RuleContext& context) {
    GameServices& sound = context.services;
    const int32_t x = player.cellX;
    const int32_t z = player.cellZ;
    const ItemDef* t = itemTemplate(isBlock, objectType);

    switch (kind) {
    case Interaction::HealthPack:
    case Interaction::ExtraHealth:
        // At full health the pack stays for later.
        if (player.health >= kFullHealth) return;
        player.health = kind == Interaction::HealthPack ? std::min(player.health + kHealthPackGain, kFullHealth)
                                                        : kFullHealth;
        takeAway(player, context);
        sound.playOneShot("Item_health");
        return;

    case Interaction::Ammunition:
        if (isFull(player.rifle) && isFull(player.sniperRifle)) return;
        if (!isFull(player.rifle)) player.rifle.addAmmo(kRifleRefill);
        if (!isFull(player.sniperRifle)) player.sniperRifle.addAmmo(kSniperRefill);
        takeAway(player, context);
        sound.playOneShot("Reload");
        return;

    case Interaction::Hazard:
        if (t == nullptr) return;
        // A hazard with a height hurts only feet below its top: lava plants can be jumped.
        if (t->hazardHeight == 0.0f ||
            player.lastPosition.y - kEyeAboveGround < player.groundHeight + t->hazardHeight)
            player.damagePlayer(t->damage, false, context);
        return;

    case Interaction::Collectable: {
        if (t == nullptr) return;
        if (!player.addItem(objectType, 1)) return;
        takeAway(player, context);
        // A message already pending wins: the 15th node files its own inside addItem,
        // and the node's ordinary one would hide it.
        if (!player.messageFlag) showIfAny(player, t->message);
        sound.playOneShot("PickUpInv");
        return;
    }

    case Interaction::LockedGate:
        if (t == nullptr) return;
        // The key is shown, not handed over: it opens every gate of its colour.
        if (player.itemCount(t->requiredItem) > 0) {
            removeCellObject(context.grid, context.requests, x, z, true, t->slidesAlongX);
            sound.playOneShot("OpenDoor");
        } else {
            showIfAny(player, t->blockedMessage);
            sound.playOneShot("NoItemInv");
        }
        return;

    case Interaction::ObstacleNeedingItem:
        if (t == nullptr) return;
        if (player.itemCount(t->requiredItem) > 0) {
            removeCellObject(context.grid, context.requests, x, z, false, false);
            showIfAny(player, t->message);
            sound.playOneShot("RemoveItem");
        } else {
            showIfAny(player, t->blockedMessage);
            sound.playOneShot("NoItemInv");
        }
        return;

    case Interaction::EnergySlot:
        if (t == nullptr) return;
        if (player.takeItem(item::EnergyCell)) {
            // The platform stays in its cell; the connected cell is drawn standing on it.
            if (insideWorld(x, z)) context.grid[x][z].interactive = false;
            placeCellObject(context.grid, context.requests, x, z, item::EnergyCell, false, true, false, false, false);
            player.addItem(item::ConnectedCells, 1);
            showIfAny(player, t->message);
            sound.playOneShot("EnergyCellConnected");
        } else {
            showIfAny(player, t->blockedMessage);
            sound.playOneShot("NoItemInv");
        }
        return;

    case Interaction::SpaceshipExit:
        if (t == nullptr) return;
        if (!touchSpaceship(player, *t, context.grid)) sound.playOneShot("NoItemInv");
        return;

    case Interaction::RouteTrace:
        removeCellObject(context.grid, context.requests, x, z, false, true);
        sound.playOneShot("Follow_trace_path");
        return;

    case Interaction::TeleportWall:
        context.requests.teleport = true;
        player.setMessage("Usas un teletransporte");
        sound.playOneShot("Teleport");
        return;

    case Interaction::ForceField:
        if (objectType == correctForceField) {
            sound.playOneShot("force_field_correct");
        } else {
            player.damagePlayer(kForceFieldDamage, false, context);
            player.setMessage("Campo de fuerza incorrecto");
        }
        return;

    case Interaction::NoInteraction:
        return;
    }
}
