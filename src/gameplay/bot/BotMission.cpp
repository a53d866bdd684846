#include "gameplay/bot/BotMission.h"

#include <algorithm>
#include <limits>

#include "gameplay/Session.h"
#include "world/ObjectTables.h"

namespace bot {

namespace {

constexpr int32_t kCellsForTakeOff = 4;

// An object the player can touch now: shown and answering to a touch.
bool liveItem(const WorldCell& c, int32_t objectType) {
    return !c.isBlock && c.objectType == objectType && c.visible && c.interactive;
}

// The goal of the list that is cheapest to reach; Errand::None when none can be reached.
Goal cheapest(const std::vector<Goal>& goals, const RouteMap& here) {
    Goal best;
    int32_t bestCost = kUnreachable;
    for (const Goal& g : goals) {
        const int32_t c = here.costTo(g.cell);
        if (c < bestCost) {
            bestCost = c;
            best = g;
        }
    }
    return best;
}

bool isBanned(const std::vector<Banned>& banned, GridCell cell, float now) {
    return std::any_of(banned.begin(), banned.end(), [&](const Banned& b) { return b.cell == cell && b.until > now; });
}

}  // namespace

int32_t safeForceFieldFromStatue(const WorldCells& grid) {
    for (int i = 0; i < kWorldSize; ++i) {
        for (int j = 0; j < kWorldSize; ++j) {
            const WorldCell& c = grid[i][j];
            if (!c.isBlock && c.objectType >= item::FirstStatue && c.objectType < item::FirstStatue + 5)
                return item::ForceFieldYellow + (c.objectType - item::FirstStatue);
        }
    }
    return 0;
}

Passkeys passkeysOf(const Player& player, int32_t safeForceField) {
    Passkeys keys;
    for (int32_t opener : kLockOpeners) {
        if (player.itemCount(opener) > 0) give(keys, opener);
    }
    keys.safeForceField = safeForceField;
    return keys;
}

bool goalOpen(const Goal& goal, const Session& session) {
    const Player& p = session.player;
    if (goal.errand == Errand::None || !insideWorld(goal.cell.i, goal.cell.j)) return false;
    const WorldCell& c = session.grid[goal.cell.i][goal.cell.j];
    switch (goal.errand) {
    case Errand::EnergyCell:
        if (p.itemCount(item::EnergyCell) > 0) return false;
        break;
    case Errand::Platform:
        if (p.itemCount(item::EnergyCell) == 0) return false;
        break;
    case Errand::KeyItem:
        if (p.itemCount(goal.object) > 0) return false;
        break;
    case Errand::HealthPack:
        if (p.health >= 100) return false;
        break;
    case Errand::Ammunition:
        if (p.rifle.ammo >= p.rifle.magazineSize && p.sniperRifle.ammo >= p.sniperRifle.magazineSize) return false;
        break;
    case Errand::Spaceship: return !p.escaping && liveItem(c, goal.object);
    default: break;
    }
    return liveItem(c, goal.object);
}

std::vector<Goal> pickUps(const WorldCells& grid, Errand errand, int32_t firstObject, int32_t lastObject) {
    std::vector<Goal> found;
    for (int i = 0; i < kWorldSize; ++i) {
        for (int j = 0; j < kWorldSize; ++j) {
            const WorldCell& c = grid[i][j];
            if (c.isBlock || c.objectType < firstObject || c.objectType > lastObject || !c.visible || !c.interactive)
                continue;
            found.push_back({errand, GridCell{i, j}, c.objectType});
        }
    }
    return found;
}

std::vector<Goal> missionGoals(const Session& session) {
    const Player& p = session.player;
    const bool carrying = p.itemCount(item::EnergyCell) > 0;
    std::vector<Goal> goals = pickUps(session.grid, Errand::CloakingNode, item::CloakerNode, item::CloakerNode);
    if (carrying) {
        const std::vector<Goal> platforms = pickUps(session.grid, Errand::Platform, item::EnergyPlatform, item::EnergyPlatform);
        goals.insert(goals.end(), platforms.begin(), platforms.end());
    } else {
        for (const Goal& g : pickUps(session.grid, Errand::EnergyCell, item::EnergyCell, item::EnergyCell)) {
            // A cell standing on a platform is connected already.
            if (!session.grid[g.cell.i][g.cell.j].blocksMovement) goals.push_back(g);
        }
    }
    if (p.itemCount(item::Hiyura) == 0 && insideWorld(session.hiyuraCell.i, session.hiyuraCell.j) &&
        liveItem(session.grid[session.hiyuraCell.i][session.hiyuraCell.j], item::Hiyura))
        goals.push_back({Errand::Hiyura, session.hiyuraCell, item::Hiyura});
    if (p.itemCount(item::PlasmaInjector) == 0) {
        const std::vector<Goal> injector = pickUps(session.grid, Errand::Injector, item::PlasmaInjector, item::PlasmaInjector);
        goals.insert(goals.end(), injector.begin(), injector.end());
    }
    if (p.itemCount(item::Hiyura) > 0 && p.itemCount(item::PlasmaInjector) > 0 &&
        p.itemCount(item::ConnectedCells) == kCellsForTakeOff)
        goals.push_back({Errand::Spaceship, session.spaceshipCell, item::Spaceship});
    return goals;
}

Goal nearestGoal(const Session& session, const RouteMap& here, const Passkeys& keys, const std::vector<Banned>& banned,
                 float now) {
    const Player& player = session.player;
    std::vector<Goal> candidates;
    std::vector<Goal> outOfReach;
    for (const Goal& g : missionGoals(session)) {
        if (isBanned(banned, g.cell, now)) continue;
        (here.costTo(g.cell) == kUnreachable ? outOfReach : candidates).push_back(g);
    }

    if (!outOfReach.empty()) {
        // Something wanted lies behind a lock: the openers within reach that let the
        // player through to it, or, when no single one does, every opener within reach.
        std::vector<Goal> openers;
        std::vector<Goal> opening;
        for (int32_t opener : kLockOpeners) {
            if (player.itemCount(opener) > 0) continue;
            for (const Goal& g : pickUps(session.grid, Errand::KeyItem, opener, opener)) {
                if (isBanned(banned, g.cell, now) || here.costTo(g.cell) == kUnreachable) continue;
                openers.push_back(g);
                Passkeys more = keys;
                give(more, opener);
                RouteMap withIt;
                withIt.search(session.grid, more, here.origin());
                if (std::any_of(outOfReach.begin(), outOfReach.end(),
                                [&](const Goal& o) { return withIt.costTo(o.cell) != kUnreachable; }))
                    opening.push_back(g);
            }
        }
        const std::vector<Goal>& useful = opening.empty() ? openers : opening;
        candidates.insert(candidates.end(), useful.begin(), useful.end());
    }
    return cheapest(candidates, here);
}

Goal nearestPlatform(const WorldCells& grid, const RouteMap& here) {
    return cheapest(pickUps(grid, Errand::Platform, item::EnergyPlatform, item::EnergyPlatform), here);
}

Goal supplyGoal(const Session& session, const RouteMap& here, const RouteMap& fromMission,
                const std::vector<Banned>& banned, float now) {
    const Player& player = session.player;
    const Weapon& rifle = player.rifle;
    // How far out of the way a supply may lie, by how badly it is needed.
    const int32_t healthDetour = player.health <= 40   ? 40 * kPlainStep
                                 : player.health <= 70 ? 12 * kPlainStep
                                 : player.health < 100 ? 2 * kPlainStep
                                                       : -1;
    const int32_t ammoDetour = rifle.ammo == 0                  ? 60 * kPlainStep
                               : rifle.ammo <= 15               ? 30 * kPlainStep
                               : rifle.ammo <= 40               ? 8 * kPlainStep
                               : rifle.ammo < rifle.magazineSize ? 2 * kPlainStep
                                                                 : -1;
    std::vector<Goal> supplies;
    if (healthDetour >= 0) supplies = pickUps(session.grid, Errand::HealthPack, item::Health, item::ExtraHealth);
    if (ammoDetour >= 0) {
        const std::vector<Goal> ammo = pickUps(session.grid, Errand::Ammunition, item::Ammo, item::Ammo);
        supplies.insert(supplies.end(), ammo.begin(), ammo.end());
    }
    const GridCell mission = fromMission.origin();
    const int32_t direct = here.costTo(mission);
    Goal best;
    int64_t bestDetour = std::numeric_limits<int64_t>::max();
    for (const Goal& g : supplies) {
        const int32_t there = here.costTo(g.cell);
        const int32_t on = fromMission.costTo(g.cell);
        if (there == kUnreachable || isBanned(banned, g.cell, now)) continue;
        // With no errand to run the whole walk there is the detour.
        const int64_t detour = direct == kUnreachable || on == kUnreachable
                                   ? there
                                   : int64_t{there} + on - direct;
        if (detour > (g.errand == Errand::HealthPack ? healthDetour : ammoDetour) || detour >= bestDetour) continue;
        bestDetour = detour;
        best = g;
    }
    return best;
}

}  // namespace bot
