#include "gameplay/Bot.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "gameplay/Session.h"
#include "gameplay/bot/BotCombat.h"
#include "gameplay/bot/BotMission.h"
#include "gameplay/bot/BotRoutes.h"
#include "gameplay/bot/BotSteering.h"
#include "gameplay/bot/BotTour.h"
#include "world/ObjectTables.h"

namespace {

constexpr float kCellSize = 50.0f;
constexpr float kArrivedDistance = 3.0f;
// Straight ways are looked for up to this many route cells ahead, sampled this often, for
// a walker this wide each side.
constexpr size_t kLookAhead = 12;
constexpr float kSampleStep = 2.0f;
constexpr float kClearance = 4.0f;
// Longer than any touch cooldown of a pick-up: standing in one cell this long means the
// way is wrong.
constexpr float kStuckSeconds = 6.0f;
constexpr float kBanSeconds = 30.0f;
// Drones nearer than this are shot at: they close in and ram. Farther ones mostly miss
// a runner, and every shot costs a cartridge and a frame standing still.
constexpr float kEngageDistance = 120.0f;

glm::vec2 centreOf(GridCell c) { return {static_cast<float>(c.i) * kCellSize, static_cast<float>(c.j) * kCellSize}; }

GridCell cellAtPoint(glm::vec2 p) { return {cellOf(p.x), cellOf(p.y)}; }

bool freeToEnter(const WorldCells& grid, GridCell c) { return insideWorld(c.i, c.j) && !grid[c.i][c.j].blocksMovement; }

}  // namespace

struct Bot::Plan {
    bot::Steering hands;
    bot::Gunner gunner;
    bot::Passkeys keys;  // as the last search saw them
    bot::RouteMap map;
    bot::RouteMap fromMission;  // searched from the mission goal, to price detours
    bot::TourPlanner tour;
    std::vector<bot::Goal> stops;  // the tour's remaining stops, made for tourState
    bot::TourPlanner::State tourState;
    bot::Goal goal;
    std::vector<GridCell> route;  // from the player's cell to the goal's
    std::vector<bot::Banned> banned;
    int32_t safeForceField = 0;
    float clock = 0.0f;  // seconds of frames seen
    GridCell lastCell{-1, -1};
    float sameCellSeconds = 0.0f;
    bool replan = true;
    // The last frame ended with the view on a drone: this one must not walk along it.
    bool lookingAtDrone = false;

    void ban(GridCell c) { banned.push_back({c, clock + kBanSeconds}); }

    // A fresh search from the player's cell, the goal reconsidered, and its route.
    void plan(const Session& session, GridCell here) {
        keys = bot::passkeysOf(session.player, safeForceField);
        map.search(session.grid, keys, here);
        if (!tour.surveyed()) tour.survey(session, safeForceField);
        const bot::TourPlanner::State state = tour.stateOf(session);
        if (stops.empty() || !(state == tourState)) {
            stops = tour.order(session, here, stops);
            tourState = state;
        }
        for (int attempt = 0; attempt < 4; ++attempt) {
            goal = nextGoal(session);
            if (goal.errand == bot::Errand::None) break;
            route = map.routeTo(goal.cell);
            if (!route.empty()) break;
            ban(goal.cell);
        }
        if (goal.errand == bot::Errand::None) route.clear();
        replan = false;
    }

    bool usable(const bot::Goal& g, const Session& session) const {
        return bot::goalOpen(g, session) && map.costTo(g.cell) != bot::kUnreachable &&
               std::none_of(banned.begin(), banned.end(), [&](const bot::Banned& b) { return b.cell == g.cell && b.until > clock; });
    }

    // The tour's next stop; the nearest errand when that cannot be done now; a health
    // pack or cartridges on the way when they are needed.
    bot::Goal nextGoal(const Session& session) {
        const bool supplying = goal.errand == bot::Errand::HealthPack || goal.errand == bot::Errand::Ammunition;
        if (supplying && usable(goal, session)) return goal;
        bot::Goal mission = stops.empty() ? bot::Goal{} : stops.front();
        if (mission.errand == bot::Errand::Platform) mission = bot::nearestPlatform(session.grid, map);
        if (!usable(mission, session)) mission = bot::nearestGoal(session, map, keys, banned, clock);
        fromMission.search(session.grid, keys, mission.errand == bot::Errand::None ? GridCell{-1, -1} : mission.cell);
        const bot::Goal supply = bot::supplyGoal(session, map, fromMission, banned, clock);
        return supply.errand != bot::Errand::None ? supply : mission;
    }

    // Where to head from `ahead` (where this frame's step ends), and whether to walk.
    bool steerPoint(const WorldCells& grid, glm::vec2 ahead, glm::vec2& aim) const {
        if (route.empty()) return false;
        // The route cell the player will stand in (the route starts at the current cell).
        size_t k = 0;
        if (route.size() > 1 && cellAtPoint(ahead) == route[1]) k = 1;
        if (k + 1 >= route.size()) {
            aim = centreOf(route[k]);
            return glm::length(aim - ahead) > kArrivedDistance;
        }
        // Straight across open ground to the farthest route cell in clear view: the
        // route's steps go round corners four ways, the player need not.
        const size_t farthest = std::min(route.size() - 1, k + kLookAhead);
        for (size_t j = farthest; j >= k + 2; --j) {
            if (!freeToEnter(grid, route[j])) continue;
            if (clearWay(grid, ahead, centreOf(route[j]))) {
                aim = centreOf(route[j]);
                return true;
            }
        }
        // A route step goes to a neighbouring cell, or diagonally past two cells of plain
        // ground: either way the cells make a rectangle, and the straight way from
        // anywhere in the first to the next one's centre never leaves it, so no wall
        // beside the route is grazed. A blocked next cell is a lock to open or the goal
        // to touch: the bump is the touch.
        aim = centreOf(route[k + 1]);
        return true;
    }

    // Every cell that a walker a little wider than a point crosses on the straight way
    // is plain ground (or holds something harmless to touch).
    bool clearWay(const WorldCells& grid, glm::vec2 from, glm::vec2 to) const {
        const glm::vec2 way = to - from;
        const float length = glm::length(way);
        if (length < 1e-3f) return true;
        const glm::vec2 along = way / length;
        const glm::vec2 side{-along.y * kClearance, along.x * kClearance};
        GridCell last{-1, -1};
        for (float t = 0.0f; t <= length; t += kSampleStep) {
            const glm::vec2 p = from + along * t;
            for (const glm::vec2 q : {p, p + side, p - side}) {
                const GridCell c = cellAtPoint(q);
                if (c == last) continue;
                if (!harmlessToCross(grid, c)) return false;
            }
            last = cellAtPoint(p);
        }
        return true;
    }

    bool harmlessToCross(const WorldCells& grid, GridCell c) const {
        if (!map.enterable(c) || !freeToEnter(grid, c)) return false;
        const WorldCell& cell = grid[c.i][c.j];
        if (bot::stepCost(cell, keys) != bot::kPlainStep) return false;
        // Picking up an energy cell on the way would change the tour.
        return cell.isBlock || cell.objectType != item::EnergyCell || c == goal.cell;
    }
};

Bot::Bot() : plan(std::make_unique<Plan>()) {}
Bot::~Bot() = default;

InputEvents Bot::nextFrame(const Session& session, float dt) {
    InputEvents out;
    Plan& p = *plan;
    p.clock += dt;
    const Player& player = session.player;
    const Camera& camera = session.sceneCamera;
    if (player.dead || player.escaping || session.escapeStage != 0) {
        p.hands.hold(player, {}, out);
        return out;
    }
    if (p.safeForceField == 0) p.safeForceField = bot::safeForceFieldFromStatue(session.grid);

    const glm::vec2 position{camera.position.x, camera.position.z};
    const GridCell here = cellAtPoint(position);
    if (here != p.lastCell) {
        p.lastCell = here;
        p.sameCellSeconds = 0.0f;
        p.replan = true;
    } else {
        p.sameCellSeconds += dt;
    }
    if (!bot::goalOpen(p.goal, session)) {
        p.goal = {};
        p.replan = true;
    }
    if (p.sameCellSeconds > kStuckSeconds && p.goal.errand != bot::Errand::None) {
        p.ban(p.goal.cell);
        p.goal = {};
        p.sameCellSeconds = 0.0f;
        p.replan = true;
    }
    if (p.replan) p.plan(session, here);

    bot::Controls wanted;
    glm::vec2 aim{};
    // The view turns after this frame's step, so the step goes the way the view pointed
    // at the end of the last frame. After a shot that was at a drone: stand for a frame.
    const glm::vec2 front{camera.front.x, camera.front.z};
    glm::vec2 ahead = position;
    if (!p.lookingAtDrone && p.steerPoint(session.grid, position, aim)) {
        wanted.walk = wanted.strafe = wanted.run = true;
        ahead += bot::strafingStep(front) * kRunSpeed * dt;
    }
    const bool heading = p.steerPoint(session.grid, ahead, aim);

    std::optional<bot::Shot> shot;
    if (!p.lookingAtDrone && !player.switching && bot::gunFiresNextFrame(player.currentGun(), dt))
        shot = p.gunner.aim(session, glm::vec3(ahead.x, 0.0f, ahead.y), kEngageDistance);
    if (shot) {
        // The shot leaves along the view as this frame's turns leave it.
        p.hands.face(camera, shot->direction, dt, out);
        wanted.fire = true;
        p.lookingAtDrone = true;
    } else {
        if (heading) {
            const glm::vec2 view = bot::viewForStrafing(aim - ahead);
            p.hands.face(camera, glm::vec3(view.x, 0.0f, view.y), dt, out);
        }
        p.lookingAtDrone = false;
    }
    p.hands.hold(player, wanted, out);
    p.gunner.watch(session);
    return out;
}
