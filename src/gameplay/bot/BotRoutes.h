#pragma once
// The automatic player's own picture of where it may walk: every cell of the world
// grid weighed by what the player carries (a lock it holds the item for is a door, one
// it does not is a wall), with the hazards as a last resort and the deadly force fields
// as walls. One search from the player's cell answers how far every goal is and which
// cells lead there.
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "world/ObjectTables.h"
#include "world/WorldGrid.h"

namespace bot {

// The items that open locks, in a fixed order: bit k of a set of openers is opener k.
inline constexpr std::array<int32_t, 5> kLockOpeners = {item::KeyRed, item::KeyGreen, item::KeyYellow,
                                                         item::BlueRepellent, item::RedInductor};

// What the player carries that changes the way, and which force field the statue
// names as safe (0 while no statue has been seen: then no field is safe).
struct Passkeys {
    bool redKey = false;
    bool greenKey = false;
    bool yellowKey = false;
    bool repellent = false;
    bool inductor = false;
    int32_t safeForceField = 0;
};

// The same pass keys with one opener more; a set of openers as pass keys.
void give(Passkeys& keys, int32_t opener);
Passkeys passkeysFor(uint32_t openers, int32_t safeForceField);

inline constexpr int32_t kUnreachable = std::numeric_limits<int32_t>::max();

// The cost of one step into a cell, in tenths of a plain step; 0 = never. Steps go to
// the four neighbours, and to the diagonal ones where the corner between is plain.
inline constexpr int32_t kPlainStep = 10;
inline constexpr int32_t kDiagonalStep = 14;  // across a corner of plain ground
inline constexpr int32_t kLockStep = 30;     // the bump that opens it costs a moment
inline constexpr int32_t kHazardStep = 400;  // hurts: only when there is no other way

// The step cost into a cell for a walker with these pass keys; 0 when it cannot enter.
int32_t stepCost(const WorldCell& cell, const Passkeys& keys);

// The held item that opens a lock object, or 0 when the object is no lock.
int32_t itemOpening(int32_t objectType);

class RouteMap {
public:
    // Costs from start to every cell over the grid as it stands now.
    void search(const WorldCells& grid, const Passkeys& keys, GridCell start);

    GridCell origin() const { return start; }
    bool enterable(GridCell c) const { return insideWorld(c.i, c.j) && step[c.i][c.j] > 0; }
    // The cost of reaching the cell; a cell that cannot be entered (a platform, the
    // spaceship) counts as reached from its cheapest neighbour, by bumping into it.
    int32_t costTo(GridCell goal) const;
    // The cells from the start to the goal, both included; empty when out of reach.
    std::vector<GridCell> routeTo(GridCell goal) const;

private:
    // The entered neighbour from which a blocked goal is cheapest to touch.
    bool touchFrom(GridCell goal, GridCell& from, int32_t& total) const;

    GridCell start{};
    std::array<std::array<int32_t, kWorldSize>, kWorldSize> step{};
    std::array<std::array<int32_t, kWorldSize>, kWorldSize> cost{};
    std::array<std::array<GridCell, kWorldSize>, kWorldSize> parent{};
};

}  // namespace bot
