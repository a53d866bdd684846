#pragma once
// The automatic player's errands: what the mission still asks for, read from the world
// grid and the inventory as a player reads the map and the HUD, and which errand to run
// next. The planner prefers the nearest errand by the walking cost, fetches a key, the
// repellent or the inductor only while something wanted lies behind its lock, and goes
// to the spaceship only with everything aboard.
#include <cstdint>
#include <vector>

#include "gameplay/bot/BotRoutes.h"
#include "world/WorldGrid.h"

class Session;
struct Player;

namespace bot {

enum class Errand : uint8_t {
    None,
    CloakingNode,
    EnergyCell,
    Platform,  // connect the carried energy cell
    Hiyura,
    Injector,
    KeyItem,  // a key, the repellent or the inductor
    HealthPack,
    Ammunition,
    Spaceship,
};

struct Goal {
    Errand errand = Errand::None;
    GridCell cell{};
    int32_t object = 0;  // the item-table object expected in the cell
    friend bool operator==(const Goal&, const Goal&) = default;
};

// The force field that the fortress's statue names as safe; 0 when there is no statue.
int32_t safeForceFieldFromStatue(const WorldCells& grid);

Passkeys passkeysOf(const Player& player, int32_t safeForceField);

// Whether the goal is still there to be done.
bool goalOpen(const Goal& goal, const Session& session);

// Every mission errand open now (not the keys), in a fixed order.
std::vector<Goal> missionGoals(const Session& session);

// Objects of one kind lying in reachable cells, as goals.
std::vector<Goal> pickUps(const WorldCells& grid, Errand errand, int32_t firstObject, int32_t lastObject);

struct Banned {
    GridCell cell{};
    float until = 0.0f;
};

// The nearest open mission goal from the player's cell, with `here` searched from that
// cell, or the nearest lock opener when something wanted lies behind a lock;
// Errand::None when nothing open can be reached.
Goal nearestGoal(const Session& session, const RouteMap& here, const Passkeys& keys, const std::vector<Banned>& banned,
                 float now);

// The energy platform still free that is cheapest to touch.
Goal nearestPlatform(const WorldCells& grid, const RouteMap& here);

// A health pack or cartridges worth the detour on the way to the mission goal, from
// which `fromMission` was searched; Errand::None when none is.
Goal supplyGoal(const Session& session, const RouteMap& here, const RouteMap& fromMission,
                const std::vector<Banned>& banned, float now);

}  // namespace bot
