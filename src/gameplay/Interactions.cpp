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
void showIfAny(TouchOutcome& outcome, const std::string& text) {
    if (!text.empty()) outcome.message = text;
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
bool touchSpaceship(Player& player, const ItemDef& t, WorldCells& grid, TouchOutcome& outcome) {
    // Every check is made; the one reported is the last that fails, so a player who
    // has done nothing yet hears about the energy first.
    const char* missing = nullptr;
    if (player.itemCount(item::Hiyura) <= 0) missing = "Debes rescatar a Hiyura antes de escapar del planeta";
    if (player.itemCount(item::PlasmaInjector) <= 0)
        missing = "El Inyector de Plasma de tu nave esta roto, necesitas uno nuevo";
    if (player.itemCount(item::ConnectedCells) != kCellsForTakeOff)
        missing = "Tu nave no tiene energia. Debes conectar las 4 celulas de energia";
    if (missing != nullptr) {
        outcome.message = missing;
        return false;
    }
    if (insideWorld(player.cellX, player.cellZ)) grid[player.cellX][player.cellZ].interactive = false;
    player.moveForward = player.moveBack = player.moveLeft = player.moveRight = false;
    player.escaping = true;
    showIfAny(outcome, t.message);
    return true;
}

}  // namespace

TouchOutcome interact(Player& player, const Touch& touch, int32_t correctForceField, RuleContext& context) {
    GameServices& sound = context.services;
    const int32_t x = player.cellX;
    const int32_t z = player.cellZ;
    const Interaction kind = touch.kind;
    const int32_t objectType = touch.objectType;
    const ItemDef* t = itemTemplate(touch.isBlock, objectType);
    TouchOutcome outcome;

    switch (kind) {
    case Interaction::HealthPack:
    case Interaction::ExtraHealth:
        // At full health the pack stays for later.
        if (player.health >= kFullHealth) return outcome;
        player.health = kind == Interaction::HealthPack ? std::min(player.health + kHealthPackGain, kFullHealth)
                                                        : kFullHealth;
        takeAway(player, context);
        sound.playOneShot("Item_health");
        return outcome;

    case Interaction::Ammunition:
        if (isFull(player.rifle) && isFull(player.sniperRifle)) return outcome;
        if (!isFull(player.rifle)) player.rifle.addAmmo(kRifleRefill);
        if (!isFull(player.sniperRifle)) player.sniperRifle.addAmmo(kSniperRefill);
        takeAway(player, context);
        sound.playOneShot("Reload");
        return outcome;

    case Interaction::Hazard:
        if (t == nullptr) return outcome;
        // A hazard with a height hurts only feet below its top: lava plants can be jumped.
        if (t->hazardHeight == 0.0f ||
            player.lastPosition.y - kEyeAboveGround < player.groundHeight + t->hazardHeight)
            player.damagePlayer(t->damage, false, context);
        return outcome;

    case Interaction::Collectable: {
        if (t == nullptr) return outcome;
        const PickUp pickUp = player.addItem(objectType, 1);
        if (pickUp == PickUp::SecondEnergyCellRefused) {
            outcome.message = "No puedes transportar mas de una celula de energia";
            return outcome;
        }
        takeAway(player, context);
        // The 15th node says that the device is down instead of the node's own line.
        if (pickUp == PickUp::LastCloakingNode) {
            outcome.revealHiyura = true;
            outcome.message = "Encubridor desactivado. Busca y rescata a Hiyura";
        } else {
            showIfAny(outcome, t->message);
        }
        sound.playOneShot("PickUpInv");
        return outcome;
    }

    case Interaction::LockedGate:
        if (t == nullptr) return outcome;
        // The key is shown, not handed over: it opens every gate of its colour.
        if (player.itemCount(t->requiredItem) > 0) {
            removeCellObject(context.grid, context.requests, x, z, true, t->slidesAlongX);
            sound.playOneShot("OpenDoor");
        } else {
            showIfAny(outcome, t->blockedMessage);
            sound.playOneShot("NoItemInv");
        }
        return outcome;

    case Interaction::ObstacleNeedingItem:
        if (t == nullptr) return outcome;
        if (player.itemCount(t->requiredItem) > 0) {
            removeCellObject(context.grid, context.requests, x, z, false, false);
            showIfAny(outcome, t->message);
            sound.playOneShot("RemoveItem");
        } else {
            showIfAny(outcome, t->blockedMessage);
            sound.playOneShot("NoItemInv");
        }
        return outcome;

    case Interaction::EnergySlot:
        if (t == nullptr) return outcome;
        if (player.takeItem(item::EnergyCell)) {
            // The platform stays in its cell; the connected cell is drawn standing on it.
            if (insideWorld(x, z)) context.grid[x][z].interactive = false;
            placeCellObject(context.grid, context.requests, x, z, item::EnergyCell, false, true, false, false, false);
            player.addItem(item::ConnectedCells, 1);
            showIfAny(outcome, t->message);
            sound.playOneShot("EnergyCellConnected");
        } else {
            showIfAny(outcome, t->blockedMessage);
            sound.playOneShot("NoItemInv");
        }
        return outcome;

    case Interaction::SpaceshipExit:
        if (t == nullptr) return outcome;
        if (!touchSpaceship(player, *t, context.grid, outcome)) sound.playOneShot("NoItemInv");
        return outcome;

    case Interaction::RouteTrace:
        removeCellObject(context.grid, context.requests, x, z, false, true);
        sound.playOneShot("Follow_trace_path");
        return outcome;

    case Interaction::TeleportWall:
        context.requests.teleport = true;
        outcome.message = "Usas un teletransporte";
        sound.playOneShot("Teleport");
        return outcome;

    case Interaction::ForceField:
        if (objectType == correctForceField) {
            sound.playOneShot("force_field_correct");
        } else {
            player.damagePlayer(kForceFieldDamage, false, context);
            outcome.message = "Campo de fuerza incorrecto";
        }
        return outcome;

    case Interaction::NoInteraction:
        return outcome;
    }
    return outcome;
}

TouchOutcome runPlayerFrame(Player& player, Camera& camera, const GroundHeight& ground, float dt,
                            const InputEvents& events, AimController& aim, int32_t correctForceField,
                            RuleContext& context) {
    const PlayerMove move = player.move(camera, dt, events, context);
    if (!move.goesOn) return {};
    // Between the step and the guns: ammunition picked up now fires in this frame.
    TouchOutcome outcome;
    if (move.touch) outcome = interact(player, *move.touch, correctForceField, context);
    player.finishFrame(camera, ground, dt, aim, context);
    return outcome;
}
