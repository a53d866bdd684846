#include "world/FortressCheck.h"

#include <sstream>

#include "world/Reachability.h"
#include "world/ObjectTables.h"

namespace {

std::string cellText(GridCell c) {
    std::ostringstream s;
    s << "(" << c.i << ", " << c.j << ")";
    return s.str();
}

std::vector<GridCell> cellsHoldingItem(const WorldCells& grid, int32_t itemId) {
    std::vector<GridCell> found;
    for (int32_t j = 0; j < kWorldSize; ++j) {
        for (int32_t i = 0; i < kWorldSize; ++i) {
            const WorldCell& c = grid[i][j];
            if (!c.isBlock && c.objectType == itemId) found.push_back({i, j});
        }
    }
    return found;
}

class Checker {
public:
    explicit Checker(const FortressSetup& s)
        : setup(s), area(s.initialWorld, kStartCell, Passage::AllLocksOpen) {}

    std::vector<std::string> run() {
        checkLimits();
        checkTargets("cloaker node", item::CloakerNode, kExpectedCloakerNodes);
        checkTargets("energy cell", item::EnergyCell, kExpectedEnergyCells);
        checkTargets("Hiyura", item::Hiyura, 1);
        checkTargets("plasma injector", item::PlasmaInjector, 1);
        checkTargets("spaceship", item::Spaceship, 1);
        checkTargets("energy platform", item::EnergyPlatform, kExpectedPlatforms);
        return std::move(problems);
    }

private:
    void checkLimits() {
        const FortressMap& map = setup.map;
        for (int k = 0; k < 2; ++k) {
            if (!map.markerFound[k]) {
                std::ostringstream s;
                s << "generation: marker " << (k == 0 ? 'A' : 'B') << " not found in " << map.markerTries[k]
                  << " tries";
                problems.push_back(s.str());
            }
        }
        const FurnishReport& r = setup.report;
        if (!r.statuePlaced) {
            std::ostringstream s;
            s << "furnishing: no reachable cell for the statue in " << kStatueAttemptLimit << " attempts";
            problems.push_back(s.str());
        }
        if (!r.locksSettled) {
            std::ostringstream s;
            s << "furnishing: keys still unreachable after " << kLockRoundLimit << " rounds of locks";
            problems.push_back(s.str());
        }
    }

    void checkTargets(const char* name, int32_t itemId, int expected) {
        const std::vector<GridCell> cells = cellsHoldingItem(setup.initialWorld, itemId);
        if (static_cast<int>(cells.size()) < expected) {
            std::ostringstream s;
            s << name << ": " << cells.size() << " placed, " << expected << " needed";
            problems.push_back(s.str());
        }
        for (const GridCell& c : cells) {
            if (!area.touchable(c)) problems.push_back(std::string(name) + " at " + cellText(c) + " unreachable");
        }
    }

    const FortressSetup& setup;
    ReachableArea area;
    std::vector<std::string> problems;
};

}  // namespace

std::vector<std::string> checkFortress(const FortressSetup& setup) { return Checker(setup).run(); }
