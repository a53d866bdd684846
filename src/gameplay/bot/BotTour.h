#pragma once
// The automatic player's tour: the order in which to run the mission's errands so that
// the walk is short. Energy cells are carried one at a time, so the tour comes back to
// the landing site after each one; Hiyura shows herself only after the last cloaking
// node; a key comes before whatever lies behind its locks; the spaceship ends it. The
// order is built nearest-first and then improved by moving, swapping and reversing
// stops while the walk gets shorter.
#include <cstdint>
#include <vector>

#include "gameplay/bot/BotMission.h"
#include "gameplay/bot/BotRoutes.h"
#include "world/WorldGrid.h"

class Session;

namespace bot {

class TourPlanner {
public:
    // Every place the mission needs, which lock openers each takes, and the walking
    // costs between them with every lock open. Once per fortress, from the start area.
    void survey(const Session& session, int32_t safeForceField);
    bool surveyed() const { return !places.empty(); }

    // The remaining stops in their best order from `here`, for the player's state now:
    // pick-ups, Errand::Platform for each return to the landing site (any platform),
    // and Errand::Spaceship last. `previous` is the last order made, if any: the new one
    // starts from what is left of it, so that it never gets longer by being made again.
    std::vector<Goal> order(const Session& session, GridCell here, const std::vector<Goal>& previous) const;

    // What the tour depends on, to tell when it must be made again.
    struct State {
        std::vector<bool> open;  // per place, still to be visited
        bool carrying = false;
        int32_t connected = 0;
        friend bool operator==(const State&, const State&) = default;
    };
    State stateOf(const Session& session) const;

private:
    struct Place {
        Goal goal;
        uint32_t needs = 0;  // bit k: opener k (red, green, yellow key, repellent, inductor)
        uint32_t opens = 0;  // the opener this place holds, as its bit; 0 for other places
    };
    // A sequence of stops is place indices, and kLanding for a return to the landing
    // site; the final return beside the spaceship is not written.
    static constexpr int32_t kLanding = -1;

    bool placeOpen(const Place& place, const Session& session) const;
    // The walking cost of one leg between places, the landing site or (from only) here.
    int64_t leg(int32_t from, int32_t to, const std::vector<int32_t>& fromHere) const;
    // The walking cost of a sequence from here to the final return; negative when it
    // breaks a rule of the mission.
    int64_t tourCost(const std::vector<int32_t>& sequence, const std::vector<int32_t>& fromHere, bool carrying,
                     uint32_t keysHeld) const;
    // What is left of an earlier order, as a sequence over `pool` with `returns` returns.
    std::vector<int32_t> remainderOf(const std::vector<Goal>& previous, const std::vector<int32_t>& pool,
                                     int32_t returns, bool carrying) const;

    std::vector<Place> places;
    std::vector<std::vector<int32_t>> between;  // [from][to] walking cost, locks open
    std::vector<int32_t> toLanding;             // [from] cost to touch the spaceship
    std::vector<int32_t> fromLanding;           // [to] from the start cell
    int32_t safeField = 0;
};

}  // namespace bot
