#include "gameplay/Session.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "gameplay/Interactions.h"
#include "util/Random.h"
#include "world/WorldGrid.h"

namespace {

constexpr float kTerrainSampleSpacing = 7.01f;
constexpr float kSlowTickInterval = 2.0f;
constexpr int32_t kDrawWindowReach = 24;
constexpr int32_t kRevealReach = 5;
constexpr float kEnemyWakeInterval = 2.0f;
constexpr float kGameMusicVolume = 0.3f;
constexpr float kMessageSeconds = 5.0f;
constexpr float kStormRate = 0.003f;  // storm level per second
constexpr float kLightStep = 0.05f;   // sky colour per channel per slow tick
constexpr float kSlideSpeed = 50.0f;  // an opening gate, units per second

// Where the blue point light and the flag stand: beside the landing site.
constexpr float kLandingX = 300.0f;
constexpr float kLandingZ = 200.0f;

const std::vector<glm::vec3> kSkyPalette = {
    {0.2f, 0.2f, 0.1f}, {0.37f, 0.28f, 0.1f}, {0.37f, 0.0f, 0.0f},  {0.37f, 0.18f, 0.0f}, {0.37f, 0.37f, 0.0f},
    {0.0f, 0.37f, 0.0f}, {0.0f, 0.37f, 0.37f}, {0.0f, 0.0f, 0.37f}, {0.19f, 0.0f, 0.37f},
};

}  // namespace

RevealTable makeRevealTable() {
    RevealTable table{};
    for (int32_t a = 0; a < kRevealSize; ++a) {
        for (int32_t b = 0; b < kRevealSize; ++b) {
            const int32_t ring = std::max(std::abs(a - kRevealReach), std::abs(b - kRevealReach));  // 0 ... 5
            const float fog = ring <= 1 ? 0.2f : 0.2f + 0.125f * static_cast<float>(ring - 1);
            table[static_cast<size_t>(a)][static_cast<size_t>(b)] = fog;
        }
    }
    return table;
}

Session::Session() { sceneCamera.setPerspective(80.0f, 1.6f, 0.1f, 8000.0f); }

void Session::buildTerrain() {
    terrain.sampleSpacing = kTerrainSampleSpacing;
    terrain.buildTerrain();
}

GroundHeight Session::ground() const {
    return [this](float x, float z) { return terrain.heightAt(x, z); };
}

void Session::adoptFortress(const FortressSetup& setup) {
    initialWorld = setup.initialWorld;
    scannerTargets = setup.scannerTargets;
    correctForceField = setup.correctForceField;
    hiyuraCell = setup.hiyuraCell;
    spaceshipCell = setup.spaceshipCell;
}

void Session::populateWorld(ModelLoader& loader, const std::function<void()>& afterRow) {
    models = &loader;
    world.createAllCellInstances(grid, ground(), loader, afterRow);
    enemies = createEnemies(grid, random);
    world.addSceneryRocks(loader);
    enemyLooks = chooseEnemyLooks(enemies, random, loader);
}

void Session::setUpLights() {
    lightCycle = LightCycle{};
    lightCycle.palette = kSkyPalette;
    lightCycle.currentIndex = 1;
    lightCycle.current = lightCycle.target = kSkyPalette[1];
    lightCycle.slowTickTimer = kSlowTickInterval;
    lightCycle.holdTicks = 90;

    directionalLight.direction = {0.2f, 1.0f, 0.5f};
    directionalLight.setColours({-0.1f, -0.1f, -0.1f}, {0.1f, 0.1f, 0.1f}, {0.5f, 0.5f, 0.5f});
    directionalLight.lightColour = kSkyPalette[1];
    drawingLight = directionalLight;

    pointLight.position = {325.0f, groundHeight(kLandingX, kLandingZ) + 5.0f, 200.0f};
    pointLight.setProperties({0.05f, 0.05f, 0.05f}, {10.0f, 10.0f, 10.0f}, {1.0f, 1.0f, 1.0f}, 1.0f, 0.045f, 0.0075f);
    pointLight.lightColour = {0.0f, 0.0f, 1.0f};
}

void Session::createParticleSystems() {
    girlEffect.init(10, 0.1f, random);
    spaceshipEffect.init(10, 0.1f, random);
    girlEffectPosition = {};
    girlEffectShown = false;
    spaceshipEffectPosition = {};
    escapeStage = 0;
    escapeTimer = 0.0f;
}

void Session::createClothFlag() {
    cloth.init(10.0f, 6.0f, 20, 17);
    cloth.position = {318.0f, groundHeight(kLandingX, kLandingZ) + 42.0f, 205.0f};
}

void Session::initialisePlayer() {
    player.initialise(sceneCamera);
    revealTable = makeRevealTable();
}

void Session::startGame(bool firstGame) {
    // The storm's clock and its flash phase run on from game to game.
    const Thunderstorm last = thunderstorm;
    thunderstorm = Thunderstorm{};
    thunderstorm.timer = last.timer;
    thunderstorm.flashOn = last.flashOn;
    thunderFlash = false;

    player.reset(sceneCamera);
    enemiesAwake = true;
    // The awake drones come back one by one, each ten seconds after it "died".
    for (int32_t k = 0; k < activeEnemyCount && k < static_cast<int32_t>(enemies.size()); ++k) {
        Enemy& e = enemies[static_cast<size_t>(k)];
        e.dead = true;
        e.setRespawns(true);
    }
    if (!enemies.empty()) enemies[0].dead = false;
    activeEnemyCount = 1;
    enemySpawnTimer = 0.0f;

    fortressNameTimer = 5.0f;
    hudCacheTimer = 1.0f;
    messageTimer = 0.0f;
    hud = HudCounters{};
    escapeStage = 0;
    escapeTimer = 0.0f;
    newRecord = false;
    messageText.clear();
    queuedMessage.clear();
    hiyuraReachable = false;
    deathTimer = 0.0f;
    grayScale = false;
    requests = WorldRequests{};
    aim.fireRequest = false;
    world.clearSliding();

    if (!firstGame) {
        // Play changed the grid: start again from the furnished fortress.
        restoreInitialWorld(grid, initialWorld);
        NoModels none;
        world.createAllCellInstances(grid, ground(), models ? *models : none);
        setUpLights();
    }
    // Walls near the start must not wait for the first slow tick.
    player.cellX = cellOf(sceneCamera.position.x);
    player.cellZ = cellOf(sceneCamera.position.z);
    updateDrawWindow();
}

void Session::update(float dt, const InputEvents& events, GameServices& services, bool overlayFreeze) {
    // The HUD cache timer runs even under an overlay.
    runHudCacheTimer(dt);
    thunderFlash = false;
    if (overlayFreeze) return;

    sceneCamera.updateView();
    turnSpinningObjects(dt);
    RuleContext context{random, services, requests, grid};
    const TouchOutcome touched =
        runPlayerFrame(player, sceneCamera, ground(), dt, events, aim, correctForceField, context);
    wakeAndMoveDrones(dt, context);
    aim.update(sceneCamera, dt, events, enemies, player.currentGun().damage, context);
    updateThunderstorm(dt, services);
    updateLightning(dt);
    services.playOnChannel("InGame_music", kGameMusicChannel, kGameMusicVolume);
    if (hudCacheTimer == 0.0f) refreshHudCounters();
    runMessageTimers(dt);
    showMessages(touched.message);
    drawingLight = directionalLight;
    serveRequests();
    if (touched.revealHiyura) revealHiyura();
    if (player.escaping) updateEscape(dt, services);
    runSlowTick(dt);
}

void Session::runHudCacheTimer(float dt) {
    if (hudCacheTimer > 0.0f) {
        hudCacheTimer -= dt;
        if (hudCacheTimer < 0.0f) hudCacheTimer = 0.0f;
    }
}

void Session::turnSpinningObjects(float dt) {
    spinAngleSlow += 0.5f * dt;
    spinAngleFast += 2.0f * dt;
    if (spinAngleSlow > 360.0f) spinAngleSlow = 0.0f;
    if (spinAngleFast > 360.0f) spinAngleFast = 0.0f;
}

void Session::wakeAndMoveDrones(float dt, RuleContext& context) {
    // One more drone wakes every two seconds.
    if (enemiesAwake) {
        enemySpawnTimer += dt;
        if (enemySpawnTimer >= kEnemyWakeInterval) {
            enemySpawnTimer = 0.0f;
            if (activeEnemyCount < kEnemyCount) ++activeEnemyCount;
        }
    }
    const GroundHeight height = ground();
    const GridCell playerCell{player.cellX, player.cellZ};
    for (int32_t k = 0; k < activeEnemyCount && k < static_cast<int32_t>(enemies.size()); ++k)
        enemies[static_cast<size_t>(k)].updateEnemy(height, sceneCamera, dt, player.dead, playerCell, context);
}

void Session::runMessageTimers(float dt) {
    if (fortressNameTimer > 0.0f) fortressNameTimer = std::max(0.0f, fortressNameTimer - dt);
    if (messageTimer > 0.0f) messageTimer = std::max(0.0f, messageTimer - dt);
}

void Session::showMessages(const std::string& touchMessage) {
    // The touch's text first; one queued outside the update comes after it and wins.
    for (const std::string& text : {std::cref(touchMessage), std::cref(queuedMessage)}) {
        if (text.empty()) continue;
        messageText = text;
        messageTimer = kMessageSeconds;
    }
    queuedMessage.clear();
}

void Session::revealHiyura() {
    const int32_t k = world.findCellInstance(grid, hiyuraCell.i, hiyuraCell.j);
    if (k >= 0 && !cellAt(grid, hiyuraCell).isBlock) {
        world.modelInstances[static_cast<size_t>(k)].visible = true;
        WorldCell& c = cellAt(grid, hiyuraCell);
        c.visible = true;
        c.interactive = true;
    }
}

void Session::runSlowTick(float dt) {
    if (lightCycle.slowTickTimer > 0.0f) {
        lightCycle.slowTickTimer -= dt;
        if (lightCycle.slowTickTimer < 0.0f) {
            lightCycle.slowTickTimer = kSlowTickInterval;
            tickLightCycle();
            updateDrawWindow();
        }
    }
}

void Session::updateThunderstorm(float dt, GameServices& services) {
    Thunderstorm& t = thunderstorm;
    if (t.active) {
        t.timer += dt;
        if (t.timer > 5.0f) {
            t.timer = 0.0f;
            if (random.percentRoll() >= 30) {
                t.flashesLeft = random.uniformInt(1, 7);
                t.flashOn = true;
                services.playOneShot("ThunderStorm");
            }
        }
    }
    if (!t.falling) {
        t.level += kStormRate * dt;
        if (t.level >= 0.2f) t.active = true;
        if (t.level >= 0.4f) {
            t.level = 0.4f;
            t.falling = true;
        }
    }
    if (t.falling) {
        t.level -= kStormRate * dt;
        if (t.level <= 0.15f) t.active = false;
        if (t.level <= 0.0f) {
            t.level = 0.0f;
            t.falling = false;
        }
    }
}

void Session::updateLightning(float dt) {
    Thunderstorm& t = thunderstorm;
    if (t.flashesLeft <= 0) return;
    if (t.flashOn) {
        t.flashOn = false;
        --t.flashesLeft;
        thunderFlash = true;
    }
    t.flashTimer += static_cast<float>(random.uniformReal(0.5f, 1.0f)) * dt;
    if (t.flashTimer > static_cast<float>(random.uniformReal(0.05f, 0.1f))) {
        t.flashTimer = 0.0f;
        t.flashOn = !t.flashOn;
    }
}

void Session::refreshHudCounters() {
    hud.nodesText = std::to_string(player.itemCount(item::CloakerNode)) + "/15";
    hud.scannerText = std::to_string(player.itemCount(item::ScannerCard));
    hud.hiyura = player.itemCount(item::Hiyura);
    hud.energyCell = player.itemCount(item::EnergyCell);
    hud.connectedCells = player.itemCount(item::ConnectedCells);
    hud.injector = player.itemCount(item::PlasmaInjector);
    hud.keyRed = player.itemCount(item::KeyRed);
    hud.keyGreen = player.itemCount(item::KeyGreen);
    hud.keyYellow = player.itemCount(item::KeyYellow);
    hud.repellent = player.itemCount(item::BlueRepellent);
    hud.inductor = player.itemCount(item::RedInductor);
    const float a = sceneCamera.front.z * 57.29578f;
    hud.compassSector = a < -50.75f ? 1 : a > 50.75f ? 2 : 0;
    hudCacheTimer = 1.0f;
}

void Session::serveRequests() {
    // In filing order: every change filed since the last update lands.
    for (const ObjectRemoval& r : requests.removals) {
        if (!insideWorld(r.i, r.j)) continue;
        // The request says which list its object stood in: by now the cell may hold
        // another object (a drop that fell into it in the same update).
        if (!r.slide) world.removeCellInstance(r.i, r.j, r.isBlock);
        else if (!r.isBlock) world.startSliding(r.i, r.j, r.slideAlongX);
    }
    requests.removals.clear();
    NoModels none;
    for (const ObjectPlacement& p : requests.placements) {
        if (!insideWorld(p.i, p.j)) continue;
        world.createCellInstance(p.i, p.j, p.objectId, p.isBlock, p.visible, ground(), models ? *models : none);
    }
    requests.placements.clear();
    if (requests.teleport) {
        requests.teleport = false;
        if (const std::optional<GridCell> to = chooseTeleportDestination(grid, random)) {
            player.setTeleportTarget(to->i, to->j);
            drawWindow = {to->i - kDrawWindowReach, to->j - kDrawWindowReach, to->i + kDrawWindowReach,
                          to->j + kDrawWindowReach, true};
        }
    }
}

void Session::updateEscape(float dt, GameServices& services) {
    if (escapeStage == 0) {
        enemiesAwake = false;
        escapeStage = 1;
        escapeTimer = 6.0f;
        services.playOneShot("Spaceship_1");
        newRecord = storeRecordIfBetter ? storeRecordIfBetter() : false;
    }
    if (escapeTimer > 0.0f) {
        escapeTimer -= dt;
        if (escapeTimer < 0.0f) {
            ++escapeStage;
            escapeTimer = 0.0f;
            if (escapeStage == 2) {
                services.playOneShot("Spaceship_2");
                escapeTimer = 8.0f;
            } else if (escapeStage == 3) {
                escapeTimer = 14.0f;
                if (newRecord) {
                    services.playOneShot("NewRecord_music");
                    // This update's messages are shown already: the next one shows it.
                    queuedMessage = "**** Has conseguido un nuevo record ****";
                }
            }
        }
    }
}

void Session::tickLightCycle() {
    LightCycle& l = lightCycle;
    ++l.tickCount;
    if (l.transitioning) {
        bool done = true;
        for (int c = 0; c < 3; ++c) {
            if (l.step[c] == 0.0f) continue;
            l.current[c] += l.step[c];
            const bool reached = l.step[c] > 0.0f ? l.current[c] >= l.target[c] : l.current[c] <= l.target[c];
            if (reached) l.step[c] = 0.0f;
            else done = false;
        }
        directionalLight.lightColour = l.current;
        if (done) {
            l.transitioning = false;
            l.currentIndex = l.targetIndex;
            l.tickCount = 0;
            l.holdTicks = l.currentIndex == 1 ? random.uniformInt(90, 120) : random.uniformInt(30, 40);
        }
    }
    if (l.tickCount == l.holdTicks) {
        int32_t next = 1;
        if (l.currentIndex == 1) {
            const int32_t last = static_cast<int32_t>(l.palette.size()) - 1;
            do next = random.uniformInt(0, last);
            while (next == 1);
        }
        l.targetIndex = next;
        l.target = l.palette[static_cast<size_t>(next)];
        for (int c = 0; c < 3; ++c)
            l.step[c] = l.target[c] > l.current[c] ? kLightStep : l.target[c] < l.current[c] ? -kLightStep : 0.0f;
        l.transitioning = true;
    }
}

void Session::updateDrawWindow() {
    const int32_t px = player.cellX, pz = player.cellZ;
    drawWindow = {px - kDrawWindowReach, pz - kDrawWindowReach, px + kDrawWindowReach, pz + kDrawWindowReach, true};
    for (int32_t x = std::max(px - kRevealReach, 2); x <= std::min(px + kRevealReach, kWorldSize - 2); ++x) {
        for (int32_t z = std::max(pz - kRevealReach, 2); z <= std::min(pz + kRevealReach, kWorldSize - 2); ++z) {
            WorldCell& c = grid[static_cast<size_t>(x)][static_cast<size_t>(z)];
            if (c.objectType == 0) continue;
            const float reveal = revealTable[static_cast<size_t>(x - px + kRevealReach)][static_cast<size_t>(z - pz + kRevealReach)];
            c.mapFog = std::min(c.mapFog, reveal);
        }
    }
}

void Session::moveModelInstances(float dt) {
    std::vector<uint32_t> slidThrough;
    for (ModelInstance& m : world.modelInstances) {
        if (!m.visible) continue;
        if (const Slide* slide = world.slideOf(m)) {
            float& along = slide->alongX ? m.position.x : m.position.z;
            along += kSlideSpeed * dt;
            if (along > slide->end) {
                m.visible = false;
                slidThrough.push_back(m.serial);
            }
        }
        if (m.i == hiyuraCell.i && m.j == hiyuraCell.j && m.visible) {
            girlEffectPosition = m.position + glm::vec3(0.0f, 5.0f, 0.0f);
            girlEffectShown = true;
            hiyuraReachable = true;
        }
        if (escapeStage != 0 && m.i == spaceshipCell.i && m.j == spaceshipCell.j) {
            if (escapeStage == 1) m.position.y += 15.0f * dt;
            if (escapeStage == 2) m.position.z += 200.0f * dt;
            spaceshipEffectPosition = m.position + glm::vec3(-3.0f, 40.0f, -28.0f);
        }
    }
    // An open gate leaves the list: it would otherwise stand first for its cell and hide
    // whatever falls into the doorway later.
    world.removeFinishedSlides(slidThrough);
}

void Session::applyScopeView() {
    Camera& c = sceneCamera;
    if (player.scoped) {
        if (c.fieldOfView != 30.0f) {
            c.setPerspective(30.0f, 1.6f, 0.1f, 8000.0f);
            c.speed = 40.0f;
            c.sensitivity = 4.0f;
        }
    } else if (c.fieldOfView != 80.0f) {
        c.setPerspective(80.0f, 1.6f, 0.1f, 8000.0f);
        c.speed = 80.0f;
        c.sensitivity = 7.0f;
    }
}

FrameOutcome Session::frameRules(float dt, GameServices& services, bool overlayFreeze, bool mapShown) {
    RuleContext context{random, services, requests, grid};
    girlEffectShown = false;
    if (!overlayFreeze) {
        cloth.addForce({0.0f, -0.05f, 0.0f});
        cloth.windForce({0.175f, 0.025f, 0.05f});
        cloth.timeStep();
        moveModelInstances(dt);
        skyRotationDegrees += 0.5f * dt;
        for (int32_t k = 0; k < activeEnemyCount && k < static_cast<int32_t>(enemies.size()); ++k) {
            Enemy& e = enemies[static_cast<size_t>(k)];
            e.firstPass(player, context);
            e.secondPass(player, context);
        }
    }
    if (girlEffectShown) girlEffect.update(dt, girlEffectPosition, random);
    if (escapeStage != 0) spaceshipEffect.update(dt, spaceshipEffectPosition, random);
    if (!player.dead && escapeStage == 0) applyScopeView();

    FrameOutcome outcome = FrameOutcome::Playing;
    if (!player.dead) {
        grayScale = player.health <= 10;
    } else {
        deathTimer += dt;
        enemiesAwake = false;
        if (deathTimer > 10.0f) {
            deathTimer = 0.0f;
            outcome = FrameOutcome::ReturnToMenu;
        }
    }
    if (escapeStage == 4) outcome = FrameOutcome::ReturnToMenu;
    // The map's marker blinks once a second; the map takes the HUD timer's turn.
    if (mapShown && hudCacheTimer == 0.0f) {
        hudCacheTimer = 1.0f;
        markerBlinkOn = !markerBlinkOn;
    }
    return outcome;
}

void Session::useScanner(GameServices& services) {
    NoModels none;
    const GroundHeight height = ground();
    const std::string report =
        ::useScanner(player,
                     ScannerWorld{grid, scannerTargets, hiyuraReachable, world, height, models ? *models : none, routeGrid},
                     services, random);
    if (!report.empty()) queuedMessage = report;
}
