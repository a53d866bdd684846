#include "gameplay/Scanner.h"

#include <algorithm>
#include <iostream>

#include "util/Random.h"
#include "world/ObjectTables.h"

namespace {

constexpr int32_t kNodeTrail = 1;
constexpr int32_t kEnergyCellTrail = 2;
constexpr int32_t kHiyuraTrail = 3;

// A real fortress finds a reachable free cell within a few rounds; the bound only
// keeps a sealed-off start from hanging the game.
constexpr int32_t kTeleportRounds = 10'000;

// The teleport lands on empty floor, like the furnishing's open cells.
constexpr CellRule kEmptyFloor{true, false, false, false, 0};

bool alreadyCollected(const Player& player, const ScannerTarget& target) {
    const CollectedTarget asCollected{target.i, target.kind, target.j};
    return std::find(player.collectedTargets.begin(), player.collectedTargets.end(), asCollected) !=
           player.collectedTargets.end();
}

bool isCandidate(const Player& player, const ScannerTarget& target, bool hiyuraReachable) {
    if (alreadyCollected(player, target)) return false;
    // Pointing at a second energy cell would only lead to a refusal.
    if (target.kind == item::EnergyCell) return player.itemCount(item::EnergyCell) == 0;
    if (target.kind == item::Hiyura) return hiyuraReachable;
    return true;
}

struct TrailTarget {
    const char* name;
    int32_t trailKind;
};

TrailTarget trailFor(int32_t itemId) {
    if (itemId == item::EnergyCell) return {"Celula de energia", kEnergyCellTrail};
    if (itemId == item::Hiyura) return {"Hiyura", kHiyuraTrail};
    return {"Encubridor", kNodeTrail};
}

}  // namespace

std::string useScanner(Player& player, ScannerWorld world, GameServices& services, RandomEngine& random) {
    services.playOneShot("ButtonClicked");
    if (player.itemCount(item::ScannerCard) == 0) {
        services.playOneShot("NoItemInv");
        return "No dispones de ninguna tarjeta para escaneos de objetivos";
    }

    std::vector<ScannerTarget> candidates;
    for (const ScannerTarget& target : world.targets) {
        if (isCandidate(player, target, world.hiyuraReachable)) candidates.push_back(target);
    }
    if (candidates.empty()) {
        services.playOneShot("NoItemInv");
        return "Tu escaner no detecta objetivos accesibles";
    }

    // A single candidate costs no draw.
    const size_t k = candidates.size() > 1
                         ? static_cast<size_t>(random.uniformInt(0, static_cast<int32_t>(candidates.size()) - 1))
                         : 0;
    const ScannerTarget& target = candidates[k];
    const TrailTarget trail = trailFor(target.kind);

    // The old trail goes at once, not through the queue: the new one is created below
    // in the same call and the queue would otherwise remove the fresh marks.
    const auto removeMark = [&world](int32_t i, int32_t j) { world.instances.removeCellInstance(world.grid, i, j); };
    const bool found = findRoute(world.grid, player.cellX, player.cellZ, target.i, target.j, false, true,
                                 trail.trailKind, world.routeGrid, removeMark);
    // No route: silent, and the card is kept.
    if (!found) return {};

    for (int32_t i = 0; i < kWorldSize; ++i) {
        for (int32_t j = 0; j < kWorldSize; ++j) {
            const WorldCell& c = world.grid[static_cast<size_t>(i)][static_cast<size_t>(j)];
            if (c.routeMark != 0)
                world.instances.createCellInstance(i, j, c.routeMark, true, true, world.ground, world.models);
        }
    }
    services.playOneShot("UseScanner");
    player.takeItem(item::ScannerCard);
    return std::string("Sigue la ruta del escaner hasta: ") + trail.name;
}

std::optional<GridCell> chooseTeleportDestination(WorldCells& grid, RandomEngine& random) {
    // Only the yes-or-no answer is wanted; the scanner's route stays where it is.
    RouteGrid scratch{};
    for (int32_t round = 0; round < kTeleportRounds; ++round) {
        const GridCell at = pickRandomCell(grid, kEmptyFloor, random);
        // A search that found nothing answers (0, 0), which is never a landing place.
        if (!picked(at)) continue;
        if (findRoute(grid, kStartCell.i, kStartCell.j, at.i, at.j, true, false, 0, scratch)) return at;
    }
    std::cerr << "ERROR: no teleport destination reachable from the start area after " << kTeleportRounds
              << " rounds\n";
    return std::nullopt;
}
