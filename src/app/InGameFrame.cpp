// The in-game frame's drawing: the 3D scene in its fixed order, then the aim mark.
// The rules that the frame applies (the cloth's step, the particles' advance, the
// sky's turn) ran just before in the session; this only reads and draws.
#include <GL/glew.h>

#include <algorithm>

#include <glm/gtc/matrix_transform.hpp>

#include "app/Game.h"
#include "render/FastDrawing.h"
#include "render/Frustum.h"
#include "render/OpaqueDrawing.h"
#include "render/Renderer.h"
#include "scene/RenderObjectIds.h"

namespace {

constexpr float kSpinDegreesPerRadian = 57.29578f;
constexpr float kEnemyHover = 6.0f;
constexpr float kGunSide = 1.7f;  // the gun's view model, right of the eye
constexpr glm::vec3 kMuzzleFlashOffset{0.9f, -1.4f, -6.5f};
constexpr float kProjectileScale = 0.25f;

ModelPose poseOf(const ModelInstance& m, float angle) {
    ModelPose pose;
    pose.position = m.position;
    pose.axis = m.rotationAxis;
    pose.angle = angle;
    pose.secondAxis = m.secondAxis;
    pose.secondAngle = m.secondAngle;
    pose.scale = m.scale;
    return pose;
}

}  // namespace

void Game::drawModel(ModelHandle handle, const ModelPose& pose, const Frustum& view) {
    const Model* model = modelLibrary.get(handle);
    if (!model || model->meshes.empty()) return;
    const BoundingSphere bounds = model->worldBounds(pose);
    if (!view.seesSphere(bounds.centre, bounds.radius)) return;
    // Wholly in the fog, it is drawn in the fog's colour, as the ground behind it is; only
    // where the sky is behind would it show.
    const glm::vec3& eye = shell.session->sceneCamera.position;
    if (!Renderer::instance().referenceDrawing &&
        glm::length(bounds.centre - eye) - bounds.radius > fastDrawing::kFogOpaqueDistance &&
        terrainRenderer.groundCovers(shell.session->sceneCamera, scenePixelsPerUnit, bounds.centre, bounds.radius))
        return;
    ++modelsDrawn;
    profiler.countTriangles(model->triangleCount());
    if (deferModels) {
        deferredModels.push_back({glm::distance(bounds.centre, shell.session->sceneCamera.position), model, pose});
        return;
    }
    model->draw(shell.session->sceneCamera, pose, false, true, &shell.session->player.flashlight, &shell.session->drawingLight);
}

void Game::drawDeferredModels() {
    deferModels = false;
    // Near to far, so that the depth test spares what the near ones hide; their
    // texels are opaque (the models' textures carry no alpha), so blending is off.
    std::stable_sort(deferredModels.begin(), deferredModels.end(),
                     [](const DeferredModel& a, const DeferredModel& b) { return a.distance < b.distance; });
    const OpaqueDrawing opaque;
    for (const DeferredModel& d : deferredModels)
        d.model->draw(shell.session->sceneCamera, d.pose, false, true, &shell.session->player.flashlight, &shell.session->drawingLight);
    deferredModels.clear();
}

void Game::drawHeldGun() {
    const Player& p = shell.session->player;
    const Camera& camera = shell.session->sceneCamera;
    for (const GunDraw& g : p.gunDraws) {
        const Weapon& gun = g.gun == kSniperRifleMode ? p.sniperRifle : p.rifle;
        const Model* model = modelLibrary.get(gun.model);
        if (!model) continue;
        ModelPose pose;
        pose.position = {kGunSide, g.height, g.depth};
        pose.axis = {0.0f, 1.0f, 0.0f};
        pose.angle = g.yaw;
        model->draw(camera, pose, true, true, &p.flashlight, &shell.session->drawingLight);
        profiler.countTriangles(model->triangleCount());
    }
    if (p.muzzleFlash.shown) {
        if (const RenderObject* flash = Renderer::instance().findObject(render_id::kMuzzleFlash)) {
            glm::mat4 m = glm::inverse(camera.view) * glm::translate(glm::mat4(1.0f), kMuzzleFlashOffset);
            m = glm::rotate(m, p.muzzleFlash.angle, glm::vec3(0.0f, 0.0f, 1.0f));
            m = glm::scale(m, glm::vec3(p.muzzleFlash.scaleX, p.muzzleFlash.scaleY, 1.0f));
            flash->drawWithMatrix(camera, m, glm::vec3(0.0f));
        }
    }
}

void Game::drawEnemyShots() {
    const Session& s = *shell.session;
    const Camera& camera = s.sceneCamera;
    Renderer& renderer = Renderer::instance();
    RenderObject* ball = renderer.findObject(render_id::kProjectile);
    RenderObject* blast = renderer.findObject(render_id::kProjectileBlast);
    for (int32_t k = 0; k < s.activeEnemyCount && k < static_cast<int32_t>(s.enemies.size()); ++k) {
        const Enemy& e = s.enemies[static_cast<size_t>(k)];
        if (!e.dead) {
            if (e.damageEffectShown) enemyDamageRenderer.draw(camera, e.damageEffect);
            if (e.projectileInFlight && ball) {
                ball->transform.position = e.projectilePosition;
                ball->transform.scale = glm::vec3(kProjectileScale);
                ball->draw(camera, glm::vec3(0.0f));
            }
        } else if (e.destroyEffectShown) {
            enemyDestroyRenderer.draw(camera, e.destroyEffect);
        }
        if (e.blastShown && blast) {
            blast->transform.position = e.projectileTarget;
            blast->transform.scale = glm::vec3(e.blastSize);
            blast->transform.rotation = glm::vec3(20.0f * e.blastSize);
            blast->draw(camera, glm::vec3(0.0f));
        }
    }
}

void Game::drawInGameFrame() {
    using Pass = FrameProfiler::Pass;
    const Session& s = *shell.session;
    const Camera& camera = s.sceneCamera;
    modelsDrawn = 0;
    // The gun in hand was drawn by the update, before the world: its depth keeps the
    // world behind it.
    profiler.begin(Pass::Gun);
    drawHeldGun();
    profiler.end();
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    if (!shell.overlays.freeze) {
        const Frustum view = Frustum::fromMatrix(camera.projection * camera.view);
        profiler.begin(Pass::Cloth);
        clothRenderer.draw(camera, s.cloth);
        profiler.end();
        profiler.begin(Pass::SolidCubes);
        blockBatch.draw(camera, s.world.blockInstances, s.drawWindow, s.spinAngleSlow, &s.player.flashlight,
                        s.drawingLight, BlockBatch::Pass::SolidCubes);
        profiler.end();
        profiler.begin(Pass::Models);
        deferModels = !Renderer::instance().referenceDrawing;
        scenePixelsPerUnit = terrainRenderer.pixelsPerUnitOf(camera);
        for (const ModelInstance& m : s.world.modelInstances) {
            if (m.visible) drawModel(m.model, poseOf(m, m.spins ? s.spinAngleSlow : m.rotationAngle), view);
        }
        for (const ModelInstance& m : s.world.sceneryModels) drawModel(m.model, poseOf(m, m.rotationAngle), view);
        drawDeferredModels();
        profiler.end();
        profiler.begin(Pass::Drones);
        for (int32_t k = 0; k < s.activeEnemyCount && k < static_cast<int32_t>(s.enemies.size()); ++k) {
            const Enemy& e = s.enemies[static_cast<size_t>(k)];
            if (e.dead) continue;
            const EnemyLooks& looks = s.enemyLooks[static_cast<size_t>(k)];
            ModelPose pose;
            pose.position = {e.position.x, s.groundHeight(e.position.x, e.position.z) + kEnemyHover, e.position.z};
            pose.position += looks.offset;
            pose.axis = {0.0f, 1.0f, 0.0f};
            pose.angle = s.spinAngleFast;
            pose.scale = looks.scale;
            pose.colorize = e.hit ? glm::vec3(0.6f, 0.0f, 0.0f) : glm::vec3(0.0f);
            drawModel(looks.model, pose, view);
        }
        profiler.end();
        profiler.begin(Pass::OtherBlocks);
        blockBatch.draw(camera, s.world.blockInstances, s.drawWindow, s.spinAngleSlow, &s.player.flashlight,
                        s.drawingLight, BlockBatch::Pass::Others);
        profiler.end();
    }
    glDisable(GL_CULL_FACE);
    if (!shell.overlays.freeze) {
        profiler.begin(Pass::Terrain);
        terrainRenderer.draw(camera, s.drawingLight, s.pointLight, &s.player.flashlight);
        profiler.countTriangles(terrainRenderer.lastTrianglesDrawn);
        profiler.end();
        profiler.begin(Pass::Sky);
        if (RenderObject* sky = Renderer::instance().findObject(render_id::kSkybox)) {
            sky->transform.rotation.y = s.skyRotationDegrees;
            sky->draw(camera, glm::vec3(0.0f));
        }
        profiler.end();
        profiler.begin(Pass::Drones);
        drawEnemyShots();
        profiler.end();
    }
    profiler.begin(Pass::Particles);
    if (s.girlEffectShown) girlRenderer.draw(camera, s.girlEffect);
    if (s.escapeStage != 0) spaceshipRenderer.draw(camera, s.spaceshipEffect);
    profiler.end();
    endScene();
    profiler.begin(Pass::Hud);
    drawAimMark();
    drawHud();
    profiler.end();
}

void Game::drawAimMark() {
    const Session& s = *shell.session;
    if (s.player.dead || s.escapeStage != 0) return;
    // The scope's narrower view itself is a rule of the frame, set before the drawing.
    if (s.player.scoped) drawFlatObject(render_id::kSniperScope);
    else drawFlatObject(s.player.sniperShown ? render_id::kSniperCrossHair : render_id::kCrossHair);
}
