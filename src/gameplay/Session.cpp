#include "gameplay/Session.h"

#include <algorithm>
#include <cstdlib>

#include "util/Random.h"
#include "world/WorldGrid.h"

namespace {

constexpr float kTerrainSampleSpacing = 7.01f;
constexpr float kSlowTickInterval = 2.0f;
constexpr int32_t kDrawWindowReach = 24;
constexpr int32_t kRevealReach = 5;

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

void Session::populateWorld(RandomEngine& random, ModelLoader& models, const std::function<void()>& afterRow) {
    world.createAllCellInstances(ground(), models, afterRow);
    enemies = createEnemies(random);
    world.addSceneryRocks(models);
    enemyLooks = chooseEnemyLooks(enemies, random, models);
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

void Session::createParticleSystems(RandomEngine& random) {
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

void Session::startGame() {
    player.reset(sceneCamera);
    hudCacheTimer = 1.0f;
    fortressNameTimer = 5.0f;
    messageTimer = 0.0f;
    activeEnemyCount = 1;
    enemySpawnTimer = 0.0f;
    enemiesAwake = true;
    escapeStage = 0;
    escapeTimer = 0.0f;
    world.clearSliding();
    // Walls near the start must not wait for the first slow tick.
    player.cellX = cellOf(sceneCamera.position.x);
    player.cellZ = cellOf(sceneCamera.position.z);
    updateDrawWindow();
}

void Session::update(float dt, const InputEvents& events, GameServices& services, bool overlayFreeze) {
    // 1. The HUD cache timer runs even under an overlay.
    if (hudCacheTimer > 0.0f) {
        hudCacheTimer -= dt;
        if (hudCacheTimer < 0.0f) hudCacheTimer = 0.0f;
    }
    if (overlayFreeze) return;

    sceneCamera.updateView();
    spinAngleSlow += 0.5f * dt;
    spinAngleFast += 2.0f * dt;
    if (spinAngleSlow > 360.0f) spinAngleSlow = 0.0f;
    if (spinAngleFast > 360.0f) spinAngleFast = 0.0f;

    RandomEngine& random = randomEngine();
    RuleContext context{random, services, requests};
    player.updatePlayer(sceneCamera, ground(), dt, events, aim, context);
    aim.update(sceneCamera, dt, events, enemies, player.currentGun().damage, context);

    drawingLight = directionalLight;

    if (lightCycle.slowTickTimer > 0.0f) {
        lightCycle.slowTickTimer -= dt;
        if (lightCycle.slowTickTimer < 0.0f) {
            lightCycle.slowTickTimer = kSlowTickInterval;
            updateDrawWindow();
        }
    }
}

void Session::updateDrawWindow() {
    const int32_t px = player.cellX, pz = player.cellZ;
    drawWindow = {px - kDrawWindowReach, pz - kDrawWindowReach, px + kDrawWindowReach, pz + kDrawWindowReach, true};
    for (int32_t x = std::max(px - kRevealReach, 2); x <= std::min(px + kRevealReach, kWorldSize - 2); ++x) {
        for (int32_t z = std::max(pz - kRevealReach, 2); z <= std::min(pz + kRevealReach, kWorldSize - 2); ++z) {
            WorldCell& c = worldGrid[static_cast<size_t>(x)][static_cast<size_t>(z)];
            if (c.objectType == 0) continue;
            const float reveal = revealTable[static_cast<size_t>(x - px + kRevealReach)][static_cast<size_t>(z - pz + kRevealReach)];
            c.mapFog = std::min(c.mapFog, reveal);
        }
    }
}

void Session::frameRules(float dt, RandomEngine& random, bool overlayFreeze) {
    girlEffectShown = false;
    if (!overlayFreeze) {
        skyRotationDegrees += 0.5f * dt;
        cloth.addForce({0.0f, -0.05f, 0.0f});
        cloth.windForce({0.175f, 0.025f, 0.05f});
        cloth.timeStep();
        for (const ModelInstance& m : world.modelInstances) {
            if (!m.visible) continue;
            if (m.i == hiyuraCell.i && m.j == hiyuraCell.j) {
                girlEffectPosition = m.position + glm::vec3(0.0f, 5.0f, 0.0f);
                girlEffectShown = true;
            }
        }
    }
    if (girlEffectShown) girlEffect.update(dt, girlEffectPosition, random);
    if (escapeStage != 0) spaceshipEffect.update(dt, spaceshipEffectPosition, random);
}
