// The playing frame as a whole on a real fortress: the update's order and timers, the
// weather, the HUD counters, the queued world changes, the escape and the end of a
// game, a new game's reset, and the headless game's determinism.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "gameplay/Bot.h"
#include "gameplay/HeadlessGame.h"
#include "gameplay/TestAids.h"
#include "util/Random.h"
#include "world/ObjectTables.h"
#include "world/WorldGrid.h"
#include "sound_log.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;
constexpr uint32_t kSeed = 4242;

// A started game on the seeded fortress, with recorded sounds.
struct Playing {
    HeadlessGame game{kSeed};
    OneShotLog* sound = nullptr;
    Playing() {
        auto recording = std::make_unique<OneShotLog>();
        sound = recording.get();
        game.useServices(std::move(recording));
        game.runFrame({}, kDt);
    }
    Session& s() { return game.session(); }
    bool frame(const InputEvents& events = {}, float dt = kDt) { return game.runFrame(events, dt); }
    std::string trace() { return traceLine(0, game.state, s(), s().random.drawsSinceSeed()); }
};

std::vector<std::string> playScript(const std::map<int, InputEvents>& script, int frames) {
    HeadlessGame game(kSeed);
    std::vector<std::string> lines;
    for (int f = 0; f < frames; ++f) {
        const auto it = script.find(f);
        game.runFrame(it == script.end() ? InputEvents{} : it->second, kDt);
        lines.push_back(traceLine(game.framesRun, game.state, game.session(), game.session().random.drawsSinceSeed()));
    }
    return lines;
}

TEST(HeadlessGame, TheSameSeedAndScriptGiveTheSameTraceTwice) {
    using E = InputEvent;
    std::map<int, InputEvents> script;
    for (int k = 0; k < 31; ++k) script[5 + k] = {E::motion(50 * (k + 1), 0)};
    script[40] = {E::keyDown(Key::W), E::buttonDown(MouseButton::Left)};
    script[90] = {E::buttonUp(MouseButton::Left), E::keyUp(Key::Q)};
    script[120] = {E::keyUp(Key::N), E::keyUp(Key::F12)};
    const std::vector<std::string> first = playScript(script, 900);
    const std::vector<std::string> second = playScript(script, 900);
    EXPECT_EQ(first, second);
    EXPECT_NE(first[100], first[899]) << "the game moved on";
}

// One game of the automatic player, invulnerable so that it plays on, with the keys
// whose rules draw or change the world outside the bot's own input (the scanner, the
// map's freeze, the screenshot's number) pressed now and then.
class BotGame {
public:
    explicit BotGame(uint32_t seed) : game(seed) { game.session().player.invulnerable = true; }

    std::string frame() {
        InputEvents events;
        if (game.framesRun > 0) events = bot.nextFrame(game.session(), kDt);
        const int64_t f = game.framesRun;
        if (f % 400 == 200) events.push_back(InputEvent::keyUp(Key::N));
        if (f % 700 == 350) events.push_back(InputEvent::keyUp(Key::F12));
        if (f % 900 == 450 || f % 900 == 470) events.push_back(InputEvent::keyUp(Key::M));
        game.runFrame(events, kDt);
        return traceLine(game.framesRun, game.state, game.session(), game.session().random.drawsSinceSeed());
    }

private:
    HeadlessGame game;
    Bot bot;
};

std::vector<std::string> playAlone(uint32_t seed, int frames) {
    BotGame game(seed);
    std::vector<std::string> lines;
    for (int f = 0; f < frames; ++f) lines.push_back(game.frame());
    return lines;
}

// Two games in one process, a frame of each in turn: whatever one game kept outside its
// session (a grid, an engine, a table written during play) would change the other's.
TEST(HeadlessGame, TwoGamesPlayedSideBySideEachPlayAsIfAlone) {
    constexpr int kFrames = 3600;
    const std::vector<std::string> aloneA = playAlone(1, kFrames);
    const std::vector<std::string> aloneB = playAlone(4242, kFrames);

    BotGame a(1);
    BotGame b(4242);
    std::vector<std::string> sideA, sideB;
    for (int f = 0; f < kFrames; ++f) {
        sideA.push_back(a.frame());
        sideB.push_back(b.frame());
    }
    for (int f = 0; f < kFrames; ++f) {
        ASSERT_EQ(sideA[static_cast<size_t>(f)], aloneA[static_cast<size_t>(f)]) << "seed 1, frame " << f + 1;
        ASSERT_EQ(sideB[static_cast<size_t>(f)], aloneB[static_cast<size_t>(f)]) << "seed 4242, frame " << f + 1;
    }
    EXPECT_NE(aloneA.back(), aloneB.back()) << "two different games";
    EXPECT_NE(aloneA[100], aloneA.back()) << "the game moved on";
}

TEST(GameUpdate, SixtyDronesAreAwakeAfter119SecondsOneEvery121Frames) {
    Playing p;  // one frame run
    std::vector<int> wakeFrames;
    int32_t last = p.s().activeEnemyCount;
    for (int f = 2; f <= 7200; ++f) {
        p.frame();
        if (p.s().activeEnemyCount != last) wakeFrames.push_back(f);
        last = p.s().activeEnemyCount;
    }
    ASSERT_EQ(wakeFrames.size(), 59u);
    // The timer's float sum reaches 2.0 only on the 121st frame.
    EXPECT_EQ(wakeFrames.front(), 121);
    EXPECT_EQ(wakeFrames.back(), 59 * 121);
    EXPECT_LE(wakeFrames.back() * kDt, 119.0f + kDt);
}

TEST(GameUpdate, AFrozenFrameChangesNothingButTheHudTimer) {
    Playing p;
    for (int f = 0; f < 600; ++f) p.frame();
    p.frame({InputEvent::keyUp(Key::M)});  // the map: the world stands still
    const std::string before = p.trace();
    const float cache = p.s().hudCacheTimer;
    for (int f = 0; f < 300; ++f)
        p.frame({InputEvent::keyDown(Key::W), InputEvent::motion(40 * f, 0), InputEvent::buttonDown(MouseButton::Left)});
    EXPECT_EQ(p.trace(), before);
    EXPECT_NE(p.s().hudCacheTimer, cache) << "the cache timer still runs (and the map's blink takes its turns)";
}

TEST(GameUpdate, TheHudCountersRefreshOnlyWhenTheirTimerIsExactlyZero) {
    Playing p;
    // Before the first refresh, a second into the game, they count the empty inventory.
    EXPECT_EQ(p.s().hud.nodesText, "0/15");
    EXPECT_EQ(p.s().hud.scannerText, "0");
    p.s().player.inventory = {{item::CloakerNode, 3}, {item::ScannerCard, 2}, {item::KeyGreen, 1}};
    p.s().hudCacheTimer = 0.5f;
    p.frame({}, 0.3f);
    EXPECT_EQ(p.s().hud.nodesText, "0/15") << "0.2 s left";
    p.frame({}, 0.3f);  // below 0: held at 0 and refreshed in the same update
    EXPECT_EQ(p.s().hud.nodesText, "3/15");
    EXPECT_EQ(p.s().hud.scannerText, "2");
    EXPECT_EQ(p.s().hud.keyGreen, 1);
    EXPECT_FLOAT_EQ(p.s().hudCacheTimer, 1.0f);
}

TEST(GameUpdate, ThunderRollsOneToSevenFlashesOfOneFrameEach) {
    std::set<int32_t> counts;
    for (uint32_t seed = 1; counts.size() < 7 && seed < 400; ++seed) {
        const auto owned = std::make_unique<Session>();
        Session& s = *owned;
        SilentServices quiet;
        s.random.seed(seed);
        s.thunderstorm.active = true;
        s.thunderstorm.level = 0.3f;
        s.thunderstorm.timer = 5.0f;
        s.update(kDt, {}, quiet, false);
        const int32_t rolled = s.thunderstorm.flashesLeft + (s.thunderFlash ? 1 : 0);
        if (rolled == 0) continue;  // this roll brought no thunder
        counts.insert(rolled);
        int32_t flashes = s.thunderFlash ? 1 : 0;
        bool previous = s.thunderFlash;
        for (int f = 0; f < 120; ++f) {
            s.update(kDt, {}, quiet, false);
            EXPECT_FALSE(previous && s.thunderFlash) << "a flash lasts one frame";
            flashes += s.thunderFlash ? 1 : 0;
            previous = s.thunderFlash;
        }
        EXPECT_EQ(flashes, rolled) << "seed " << seed;
    }
    EXPECT_EQ(counts, (std::set<int32_t>{1, 2, 3, 4, 5, 6, 7}));
}

TEST(GameUpdate, TheEscapeRunsItsStagesAndShowsANewRecordAtStageThree) {
    Playing p;
    p.s().storeRecordIfBetter = [] { return true; };
    p.s().player.escaping = true;
    p.frame();
    EXPECT_EQ(p.s().escapeStage, 1);
    EXPECT_TRUE(p.sound->heard("Spaceship_1"));
    EXPECT_FALSE(p.s().enemiesAwake);
    int frames = 1;
    std::vector<int> stageFrames(5, 0);
    bool goesOn = true;
    while (goesOn && frames < 3000) {
        goesOn = p.frame();
        ++frames;
        if (!stageFrames[static_cast<size_t>(p.s().escapeStage)]) stageFrames[static_cast<size_t>(p.s().escapeStage)] = frames;
        if (p.s().escapeStage == 3 && frames == stageFrames[3] + 1) {
            // Filed by the escape step, shown by the next update's message step.
            EXPECT_EQ(p.s().messageText, "**** Has conseguido un nuevo record ****");
            EXPECT_FLOAT_EQ(p.s().messageTimer, 5.0f);
            EXPECT_TRUE(p.sound->heard("NewRecord_music"));
        }
    }
    EXPECT_FALSE(goesOn) << "stage 4 returns to the main menu";
    EXPECT_EQ(p.s().escapeStage, 4);
    EXPECT_NEAR(stageFrames[2] * kDt, 6.0f, 2 * kDt);
    EXPECT_NEAR((stageFrames[3] - stageFrames[2]) * kDt, 8.0f, 2 * kDt);
    EXPECT_NEAR((stageFrames[4] - stageFrames[3]) * kDt, 14.0f, 2 * kDt);
    EXPECT_EQ(p.game.state, GameState::MainMenu);
}

TEST(GameUpdate, DeathPutsTheDronesToSleepAndReturnsToTheMenuAfterTenSeconds) {
    Playing p;
    p.s().player.health = 0;
    int frames = 0;
    while (p.frame() && frames < 2000) ++frames;
    EXPECT_TRUE(p.s().player.dead);
    EXPECT_FALSE(p.s().enemiesAwake);
    EXPECT_NEAR(frames * kDt, 10.0f, 3 * kDt);
    EXPECT_FLOAT_EQ(p.s().deathTimer, 0.0f);
}

// The message line takes the touch's text in the update's message step; a text filed
// outside the update (the scanner's report) waits through frozen frames for the next
// update and is shown after the touch's, so it wins.
TEST(GameUpdate, TheMessageLineShowsTheTouchsTextThenOneFiledOutsideTheUpdate) {
    Playing p;
    Session& s = p.s();
    auto putKey = [&](int32_t key) {
        WorldCell& c = s.grid[s.player.cellX][s.player.cellZ];
        c.objectType = key;
        c.isBlock = false;
        c.visible = c.interactive = true;
        c.nextInteractionTime = 0.0f;
    };
    putKey(item::KeyRed);
    p.frame();
    EXPECT_EQ(s.messageText, "Consigues la llave roja");
    EXPECT_FLOAT_EQ(s.messageTimer, 5.0f);
    EXPECT_EQ(s.player.itemCount(item::KeyRed), 1);

    putKey(item::KeyGreen);
    p.frame({InputEvent::keyUp(Key::M)});  // the map: frozen
    p.frame({InputEvent::keyUp(Key::N)});  // no card: the scanner refuses
    EXPECT_EQ(s.messageText, "Consigues la llave roja") << "frozen: nothing is shown yet";
    EXPECT_EQ(s.player.itemCount(item::KeyGreen), 0);
    p.frame({InputEvent::keyUp(Key::M)});  // the map closes: the key is touched in this update
    EXPECT_EQ(s.player.itemCount(item::KeyGreen), 1);
    EXPECT_EQ(s.messageText, "No dispones de ninguna tarjeta para escaneos de objetivos");
    EXPECT_FLOAT_EQ(s.messageTimer, 5.0f);
    p.frame();
    EXPECT_EQ(s.messageText, "No dispones de ninguna tarjeta para escaneos de objetivos") << "shown once, then kept";
    EXPECT_FLOAT_EQ(s.messageTimer, 5.0f - kDt);
}

// A cell of the seeded fortress holding a model object (an item with an instance).
GridCell firstModelCell(const Session& s, int32_t objectType) {
    for (const ModelInstance& m : s.world.modelInstances)
        if (s.grid[m.i][m.j].objectType == objectType && !s.grid[m.i][m.j].isBlock) return {m.i, m.j};
    return {};
}

TEST(GameUpdate, EveryWorldChangeFiledInOneFrameLandsInTheNextUpdate) {
    Playing p;
    Session& s = p.s();
    const GridCell a = firstModelCell(s, item::CloakerNode);
    GridCell b{};
    for (const ModelInstance& m : s.world.modelInstances)
        if (s.grid[m.i][m.j].objectType == item::CloakerNode && GridCell{m.i, m.j} != a) b = {m.i, m.j};
    ASSERT_NE(a, GridCell{});
    ASSERT_NE(b, GridCell{});
    removeCellObject(s.grid, s.requests, a.i, a.j, false, true);
    removeCellObject(s.grid, s.requests, b.i, b.j, false, true);
    placeCellObject(s.grid, s.requests, a.i, a.j, item::Ammo, false, true, false, true, true);
    p.frame();
    EXPECT_GE(s.world.findCellInstance(s.grid, a.i, a.j), 0) << "the drop that fell into the emptied cell is drawn";
    EXPECT_LT(s.world.findCellInstance(s.grid, b.i, b.j), 0) << "both removals were served";
    EXPECT_TRUE(s.requests.removals.empty() && s.requests.placements.empty());
}

TEST(GameUpdate, GatesOpenedWhileAnotherSlidesAllSlideThroughAndLeaveTheList) {
    Playing p;
    Session& s = p.s();
    std::vector<GridCell> gates;
    for (const ModelInstance& m : s.world.modelInstances)
        if (isGate(s.grid[m.i][m.j].objectType)) gates.push_back({m.i, m.j});
    ASSERT_GE(gates.size(), 2u);
    const GridCell first = gates[0], second = gates[1];
    const size_t before = s.world.modelInstances.size();
    removeCellObject(s.grid, s.requests, first.i, first.j, true, true);
    for (int f = 0; f < 20; ++f) p.frame();
    removeCellObject(s.grid, s.requests, second.i, second.j, true, false);  // the first is still on its way
    p.frame();
    EXPECT_EQ(s.world.slides.size(), 2u);
    for (int f = 0; f < 120 && !s.world.slides.empty(); ++f) p.frame();  // 50 units at 50 per second
    EXPECT_TRUE(s.world.slides.empty());
    EXPECT_EQ(s.world.modelInstances.size(), before - 2) << "both gates are through and gone";
    for (const ModelInstance& m : s.world.modelInstances)
        EXPECT_FALSE((m.i == first.i && m.j == first.j) || (m.i == second.i && m.j == second.j));

    placeCellObject(s.grid, s.requests, first.i, first.j, item::Health, false, true, false, true, true);
    p.frame();
    const int32_t k = s.world.findCellInstance(s.grid, first.i, first.j);
    ASSERT_GE(k, 0);
    EXPECT_TRUE(s.world.modelInstances[static_cast<size_t>(k)].visible) << "the pack, not a hidden gate";
}

TEST(GameUpdate, ATouchedRouteMarkGoesEvenWhenADropFallsIntoItsCellInTheSameUpdate) {
    Playing p;
    Session& s = p.s();
    GridCell cell{};
    for (int32_t i = 10; i < 60 && cell == GridCell{}; ++i)
        for (int32_t j = 10; j < 60 && cell == GridCell{}; ++j)
            if (s.grid[i][j].objectType == 0) cell = {i, j};
    ASSERT_NE(cell, GridCell{});
    // A trail mark as the scanner lays it.
    WorldCell& c = s.grid[cell.i][cell.j];
    c.objectType = block::FirstTrace;
    c.isBlock = true;
    c.routeMark = block::FirstTrace;
    NoModels none;
    s.world.createCellInstance(cell.i, cell.j, block::FirstTrace, true, true, s.ground(), none);
    ASSERT_GE(s.world.findCellInstance(cell.i, cell.j, true), 0);

    removeCellObject(s.grid, s.requests, cell.i, cell.j, false, true);  // the player touches the mark
    placeCellObject(s.grid, s.requests, cell.i, cell.j, item::Ammo, false, true, false, true, true);  // a drone's drop
    p.frame();
    EXPECT_LT(s.world.findCellInstance(cell.i, cell.j, true), 0) << "the mark's sphere is gone";
    EXPECT_GE(s.world.findCellInstance(cell.i, cell.j, false), 0) << "the drop is there";
}

TEST(GameUpdate, TheSkyHoldsItsColourThenStepsTowardsANewOne) {
    Playing p;
    LightCycle& l = p.s().lightCycle;
    for (int tick = 0; tick < 89; ++tick) p.s().tickLightCycle();
    EXPECT_FALSE(l.transitioning);
    p.s().tickLightCycle();  // the 90th tick
    ASSERT_TRUE(l.transitioning);
    EXPECT_NE(l.targetIndex, 1);
    for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(std::abs(l.step[c]) + (l.target[c] == l.current[c] ? 0.05f : 0.0f), 0.05f);
    for (int tick = 0; tick < 20 && l.transitioning; ++tick) p.s().tickLightCycle();
    EXPECT_FALSE(l.transitioning);
    EXPECT_EQ(l.currentIndex, l.targetIndex);
    EXPECT_GE(l.holdTicks, 30);
    EXPECT_LE(l.holdTicks, 40);
    EXPECT_EQ(p.s().directionalLight.lightColour, l.current);
}

TEST(NewGame, StartsCleanAfterAGameThatChangedTheWorld) {
    Playing p;
    Session& s = p.s();
    const GridCell node = firstModelCell(s, item::CloakerNode);
    const size_t instances = s.world.modelInstances.size();
    removeCellObject(s.grid, s.requests, node.i, node.j, false, true);
    s.player.firing = s.player.scoped = true;
    s.player.flashlightSetting = 0;
    s.player.flashlight.diffuse = glm::vec3(0.0f);
    s.activeEnemyCount = 12;
    s.escapeStage = 2;
    s.messageText = "old";
    s.thunderstorm.level = 0.3f;
    s.thunderstorm.timer = 3.0f;
    p.frame();

    s.startGame(false);
    EXPECT_EQ(s.grid[node.i][node.j].objectType, item::CloakerNode) << "the furnished fortress is back";
    EXPECT_EQ(s.world.modelInstances.size(), instances);
    EXPECT_FALSE(s.player.firing || s.player.scoped);
    EXPECT_EQ(s.player.flashlightSetting, 1);
    EXPECT_NE(s.player.flashlight.diffuse, glm::vec3(0.0f));
    EXPECT_EQ(s.activeEnemyCount, 1);
    EXPECT_FALSE(s.enemies[0].dead);
    for (int k = 1; k < 12; ++k) EXPECT_TRUE(s.enemies[static_cast<size_t>(k)].dead) << "comes back in 10 s";
    EXPECT_EQ(s.escapeStage, 0);
    EXPECT_EQ(s.messageText, "");
    EXPECT_FLOAT_EQ(s.thunderstorm.level, 0.0f);
    EXPECT_FLOAT_EQ(s.thunderstorm.timer, 3.0f) << "the storm's clock runs on";
    EXPECT_TRUE(s.drawWindow.valid);
    EXPECT_EQ(s.lightCycle.currentIndex, 1);
}

}  // namespace
