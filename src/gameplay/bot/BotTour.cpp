#include "gameplay/bot/BotTour.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "gameplay/Player.h"
#include "gameplay/Session.h"
#include "world/ObjectTables.h"

namespace bot {

namespace {

constexpr int32_t kHere = -2;
// A way that does not exist still needs a price that sums without overflowing.
constexpr int64_t kNoWay = 10'000'000;
constexpr int kMostPasses = 200;
// Rounds of shaking the tour up: many for the first, a few for each later one, which
// starts from the last and only needs to mend it.
constexpr int kFirstRounds = 200;
constexpr int kLaterRounds = 12;
constexpr size_t kLongestMovedRun = 3;

using Sequence = std::vector<int32_t>;

// Local search: move a run of one to three stops elsewhere, swap two stops, reverse a
// stretch; any change that shortens the walk is kept, until none does.
template <typename Cost>
void polish(Sequence& sequence, int64_t& best, const Cost& cost) {
    const size_t n = sequence.size();
    auto take = [&](Sequence& trial) {
        const int64_t c = cost(trial);
        if (c < 0 || c >= best) return false;
        best = c;
        sequence.swap(trial);
        return true;
    };
    for (int pass = 0; pass < kMostPasses; ++pass) {
        bool better = false;
        for (size_t run = 1; run <= kLongestMovedRun; ++run) {
            for (size_t i = 0; i + run <= n; ++i) {
                for (size_t j = 0; j + run <= n; ++j) {
                    if (j == i) continue;
                    Sequence trial = sequence;
                    const Sequence moved(trial.begin() + static_cast<std::ptrdiff_t>(i),
                                         trial.begin() + static_cast<std::ptrdiff_t>(i + run));
                    trial.erase(trial.begin() + static_cast<std::ptrdiff_t>(i),
                                trial.begin() + static_cast<std::ptrdiff_t>(i + run));
                    trial.insert(trial.begin() + static_cast<std::ptrdiff_t>(j), moved.begin(), moved.end());
                    better = take(trial) || better;
                }
            }
        }
        for (size_t i = 0; i + 1 < n; ++i) {
            for (size_t j = i + 1; j < n; ++j) {
                Sequence trial = sequence;
                std::swap(trial[i], trial[j]);
                better = take(trial) || better;
                trial = sequence;
                std::reverse(trial.begin() + static_cast<std::ptrdiff_t>(i),
                             trial.begin() + static_cast<std::ptrdiff_t>(j) + 1);
                better = take(trial) || better;
            }
        }
        if (!better) break;
    }
}

// Polishes, then shakes the best tour up with a double bridge (the stretches B and C of
// A B C D trade places) at cut points that differ from round to round, polishes that,
// and keeps it when it is shorter.
template <typename Cost>
void improveTour(Sequence& sequence, const Cost& cost, int rounds) {
    int64_t best = cost(sequence);
    polish(sequence, best, cost);
    const size_t n = sequence.size();
    if (n < 8) return;
    for (int round = 0; round < rounds; ++round) {
        const auto k = static_cast<size_t>(round);
        const size_t a = 1 + (k * 7) % (n - 3);
        const size_t b = a + 1 + (k * 11) % (n - a - 2);
        const size_t c = b + 1 + (k * 13) % (n - b - 1);
        Sequence trial(sequence.begin(), sequence.begin() + static_cast<std::ptrdiff_t>(a));
        trial.insert(trial.end(), sequence.begin() + static_cast<std::ptrdiff_t>(b),
                     sequence.begin() + static_cast<std::ptrdiff_t>(c));
        trial.insert(trial.end(), sequence.begin() + static_cast<std::ptrdiff_t>(a),
                     sequence.begin() + static_cast<std::ptrdiff_t>(b));
        trial.insert(trial.end(), sequence.begin() + static_cast<std::ptrdiff_t>(c), sequence.end());
        int64_t trialCost = cost(trial);
        if (trialCost < 0) continue;
        polish(trial, trialCost, cost);
        if (trialCost < best) {
            best = trialCost;
            sequence.swap(trial);
        }
    }
}

uint32_t openerBit(int32_t itemId) {
    for (size_t k = 0; k < kLockOpeners.size(); ++k) {
        if (kLockOpeners[k] == itemId) return 1u << k;
    }
    return 0;
}

int64_t price(int32_t cost) { return cost == kUnreachable ? kNoWay : cost; }

GridCell playerCell(const Session& session) {
    return {cellOf(session.sceneCamera.position.x), cellOf(session.sceneCamera.position.z)};
}

}  // namespace

void TourPlanner::survey(const Session& session, int32_t safeForceField) {
    safeField = safeForceField;
    places.clear();
    auto add = [&](const std::vector<Goal>& goals) {
        for (const Goal& g : goals) places.push_back({g, 0, openerBit(g.object)});
    };
    add(pickUps(session.grid, Errand::CloakingNode, item::CloakerNode, item::CloakerNode));
    for (const Goal& g : pickUps(session.grid, Errand::EnergyCell, item::EnergyCell, item::EnergyCell)) {
        if (!session.grid[g.cell.i][g.cell.j].blocksMovement) places.push_back({g, 0, 0});
    }
    const GridCell hiyura = session.hiyuraCell;
    if (insideWorld(hiyura.i, hiyura.j) && session.grid[hiyura.i][hiyura.j].objectType == item::Hiyura)
        places.push_back({{Errand::Hiyura, hiyura, item::Hiyura}, 0, 0});
    add(pickUps(session.grid, Errand::Injector, item::PlasmaInjector, item::PlasmaInjector));
    for (int32_t opener : kLockOpeners) add(pickUps(session.grid, Errand::KeyItem, opener, opener));

    const size_t n = places.size();
    const Passkeys allOpen = passkeysFor(0x1Fu, safeField);
    between.assign(n, std::vector<int32_t>(n, kUnreachable));
    toLanding.assign(n, kUnreachable);
    fromLanding.assign(n, kUnreachable);
    RouteMap map;
    for (size_t a = 0; a < n; ++a) {
        map.search(session.grid, allOpen, places[a].goal.cell);
        for (size_t b = 0; b < n; ++b) between[a][b] = map.costTo(places[b].goal.cell);
        toLanding[a] = map.costTo(session.spaceshipCell);
    }
    const GridCell start = playerCell(session);
    map.search(session.grid, allOpen, start);
    for (size_t b = 0; b < n; ++b) fromLanding[b] = map.costTo(places[b].goal.cell);

    // The fewest openers that reach each place from the start area: fewer first, and
    // among as many the lower bits first.
    uint32_t present = 0;
    for (const Place& p : places) present |= p.opens;
    std::vector<uint32_t> masks;
    for (uint32_t m = 0; m < 32u; ++m) {
        if ((m & ~present) == 0) masks.push_back(m);
    }
    std::stable_sort(masks.begin(), masks.end(),
                     [](uint32_t x, uint32_t y) { return std::popcount(x) < std::popcount(y); });
    std::vector<bool> settled(n, false);
    for (uint32_t m : masks) {
        map.search(session.grid, passkeysFor(m, safeField), start);
        for (size_t a = 0; a < n; ++a) {
            if (settled[a] || map.costTo(places[a].goal.cell) == kUnreachable) continue;
            places[a].needs = m;
            settled[a] = true;
        }
    }
    for (size_t a = 0; a < n; ++a) {
        if (!settled[a]) places[a].needs = present;
    }
}

bool TourPlanner::placeOpen(const Place& place, const Session& session) const {
    const Player& player = session.player;
    const WorldCell& c = session.grid[place.goal.cell.i][place.goal.cell.j];
    switch (place.goal.errand) {
    case Errand::Hiyura: return player.itemCount(item::Hiyura) == 0 && c.objectType == item::Hiyura;
    case Errand::KeyItem:
        if (player.itemCount(place.goal.object) > 0) return false;
        break;
    case Errand::EnergyCell:
        if (c.blocksMovement) return false;
        break;
    default: break;
    }
    return !c.isBlock && c.objectType == place.goal.object;
}

std::vector<int32_t> TourPlanner::remainderOf(const std::vector<Goal>& previous, const std::vector<int32_t>& pool,
                                              int32_t returns, bool carrying) const {
    std::vector<int32_t> kept;
    for (const Goal& g : previous) {
        if (g.errand == Errand::Spaceship) continue;
        if (g.errand == Errand::Platform) {
            // A return made already, while nothing is carried, is done.
            if (kept.empty() && !carrying) continue;
            kept.push_back(kLanding);
            continue;
        }
        for (int32_t s : pool) {
            if (places[static_cast<size_t>(s)].goal == g) kept.push_back(s);
        }
    }
    // The last return is the one at the end of the tour.
    if (!kept.empty() && kept.back() == kLanding) kept.pop_back();
    for (int32_t s : pool) {
        if (std::find(kept.begin(), kept.end(), s) == kept.end()) kept.push_back(s);
    }
    int32_t landings = static_cast<int32_t>(std::count(kept.begin(), kept.end(), kLanding));
    for (; landings > returns; --landings) {
        kept.erase(std::find(kept.rbegin(), kept.rend(), kLanding).base() - 1);
    }
    for (; landings < returns; ++landings) kept.push_back(kLanding);
    return kept;
}

TourPlanner::State TourPlanner::stateOf(const Session& session) const {
    State s;
    s.open.reserve(places.size());
    for (const Place& p : places) s.open.push_back(placeOpen(p, session));
    s.carrying = session.player.itemCount(item::EnergyCell) > 0;
    s.connected = session.player.itemCount(item::ConnectedCells);
    return s;
}

int64_t TourPlanner::leg(int32_t from, int32_t to, const std::vector<int32_t>& fromHere) const {
    if (from == kHere) return price(fromHere[to == kLanding ? places.size() : static_cast<size_t>(to)]);
    if (from == kLanding) return to == kLanding ? 0 : price(fromLanding[static_cast<size_t>(to)]);
    if (to == kLanding) return price(toLanding[static_cast<size_t>(from)]);
    return price(between[static_cast<size_t>(from)][static_cast<size_t>(to)]);
}

int64_t TourPlanner::tourCost(const std::vector<int32_t>& sequence, const std::vector<int32_t>& fromHere,
                              bool carrying, uint32_t keysHeld) const {
    int32_t nodesLeft = 0;
    for (int32_t s : sequence) {
        if (s >= 0 && places[static_cast<size_t>(s)].goal.errand == Errand::CloakingNode) ++nodesLeft;
    }
    int64_t total = 0;
    int32_t at = kHere;
    for (int32_t s : sequence) {
        if (s == kLanding) {
            // A return to the landing site is for connecting the cell carried.
            if (!carrying) return -1;
            carrying = false;
        } else {
            const Place& p = places[static_cast<size_t>(s)];
            if ((p.needs & ~keysHeld) != 0) return -1;
            switch (p.goal.errand) {
            case Errand::EnergyCell:
                if (carrying) return -1;
                carrying = true;
                break;
            case Errand::CloakingNode: --nodesLeft; break;
            case Errand::Hiyura:
                if (nodesLeft > 0) return -1;
                break;
            default: break;
            }
            keysHeld |= p.opens;
        }
        total += leg(at, s, fromHere);
        at = s;
    }
    return total + leg(at, kLanding, fromHere);
}

std::vector<Goal> TourPlanner::order(const Session& session, GridCell here, const std::vector<Goal>& previous) const {
    const Player& player = session.player;
    const State state = stateOf(session);
    uint32_t keysHeld = 0;
    for (int32_t opener : kLockOpeners) {
        if (player.itemCount(opener) > 0) keysHeld |= openerBit(opener);
    }

    // The places still to visit; an opener only while something left needs it.
    uint32_t needed = 0;
    for (size_t a = 0; a < places.size(); ++a) {
        if (state.open[a] && places[a].opens == 0) needed |= places[a].needs;
    }
    std::vector<int32_t> pool;
    int32_t cells = 0;
    for (size_t a = 0; a < places.size(); ++a) {
        if (!state.open[a]) continue;
        if (places[a].opens != 0 && (places[a].opens & needed & ~keysHeld) == 0) continue;
        pool.push_back(static_cast<int32_t>(a));
        if (places[a].goal.errand == Errand::EnergyCell) ++cells;
    }
    // The last connection happens at the end, beside the spaceship.
    const int32_t returns = std::max(0, cells + (state.carrying ? 1 : 0) - 1);

    std::vector<int32_t> fromHere(places.size() + 1, kUnreachable);
    RouteMap map;
    map.search(session.grid, passkeysFor(0x1Fu, safeField), here);
    for (size_t b = 0; b < places.size(); ++b) fromHere[b] = map.costTo(places[b].goal.cell);
    fromHere[places.size()] = map.costTo(session.spaceshipCell);

    // Nearest first, by the same rules as the cost.
    std::vector<int32_t> sequence;
    {
        std::vector<int32_t> left = pool;
        bool carrying = state.carrying;
        uint32_t keys = keysHeld;
        int32_t nodesLeft = 0;
        for (int32_t s : left) nodesLeft += places[static_cast<size_t>(s)].goal.errand == Errand::CloakingNode ? 1 : 0;
        int32_t at = kHere;
        int32_t returnsLeft = returns;
        while (!left.empty() || returnsLeft > 0) {
            int64_t best = -1;
            size_t bestIndex = left.size();  // left.size() stands for a return to the landing site
            for (size_t k = 0; k < left.size(); ++k) {
                const Place& p = places[static_cast<size_t>(left[k])];
                if (p.goal.errand == Errand::EnergyCell && carrying) continue;
                if (p.goal.errand == Errand::Hiyura && nodesLeft > 0) continue;
                if ((p.needs & ~keys) != 0) continue;
                const int64_t c = leg(at, left[k], fromHere);
                if (best < 0 || c < best) {
                    best = c;
                    bestIndex = k;
                }
            }
            if (carrying && returnsLeft > 0) {
                const int64_t c = leg(at, kLanding, fromHere);
                if (best < 0 || c < best) {
                    best = c;
                    bestIndex = left.size();
                }
            }
            if (best < 0) {
                // No stop fits the rules (a lock without its opener): the rest in any order.
                sequence.insert(sequence.end(), left.begin(), left.end());
                break;
            }
            if (bestIndex == left.size()) {
                at = kLanding;
                carrying = false;
                --returnsLeft;
            } else {
                at = left[bestIndex];
                const Place& p = places[static_cast<size_t>(at)];
                if (p.goal.errand == Errand::EnergyCell) carrying = true;
                if (p.goal.errand == Errand::CloakingNode) --nodesLeft;
                keys |= p.opens;
                left.erase(left.begin() + static_cast<std::ptrdiff_t>(bestIndex));
            }
            sequence.push_back(at);
        }
    }

    // The last tour, less what is done, is a start no worse than it was; the better of it
    // and the nearest-first order is improved.
    const auto cost = [&](const std::vector<int32_t>& seq) { return tourCost(seq, fromHere, state.carrying, keysHeld); };
    std::vector<int32_t> kept = remainderOf(previous, pool, returns, state.carrying);
    const int64_t keptCost = kept.empty() && !pool.empty() ? -1 : cost(kept);
    const int64_t greedyCost = cost(sequence);
    if (keptCost >= 0 && (greedyCost < 0 || keptCost <= greedyCost)) sequence = kept;
    if (cost(sequence) >= 0) improveTour(sequence, cost, previous.empty() ? kFirstRounds : kLaterRounds);

    std::vector<Goal> stops;
    for (int32_t s : sequence) {
        if (s == kLanding) stops.push_back({Errand::Platform, session.spaceshipCell, item::EnergyPlatform});
        else stops.push_back(places[static_cast<size_t>(s)].goal);
    }
    if (state.carrying || cells > 0) stops.push_back({Errand::Platform, session.spaceshipCell, item::EnergyPlatform});
    stops.push_back({Errand::Spaceship, session.spaceshipCell, item::Spaceship});
    return stops;
}

}  // namespace bot
