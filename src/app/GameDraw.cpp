// The drawing side of the Game: the fixed render objects, the loading picture, the flat
// menu screens and the playing state's off-screen pass.
#include <GL/glew.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Game.h"
#include "render/Renderer.h"
#include "scene/RenderObjectIds.h"

using enum GameState;

namespace {

const std::vector<std::string> kHudProgram = {"../Data/Shaders/HUD.vs", "../Data/Shaders/HUD.fs"};
const std::vector<std::string> kSkyboxProgram = {"../Data/Shaders/SkyboxVertexShader.vs",
                                                 "../Data/Shaders/SkyboxFragmentShader.fs"};
const std::vector<std::string> kMuzzleFlashProgram = {"../Data/Shaders/Muzzle Flash Shader/MuzzleFlash.vs",
                                                      "../Data/Shaders/Muzzle Flash Shader/MuzzleFlash.fs"};
const std::vector<std::string> kEnemyProgram = {"../Data/Shaders/EnemyVertexShader.vs",
                                                "../Data/Shaders/EnemyFragmentShader.fs"};
const std::vector<std::string> kPostProcessingProgram = {"../Data/Shaders/PostProcessingVertexShader.vs",
                                                         "../Data/Shaders/PostProcessingFragmentShader.fs"};
const std::vector<std::string> kUnlitProgram = {"../Data/Shaders/Unlit.vs", "../Data/Shaders/Unlit.fs"};

struct FixedObject {
    int32_t id;
    int32_t kind;
    const char* key;
    const std::vector<std::string>* program;
    glm::vec3 position;
    glm::vec3 rotation;
    glm::vec3 scale;
};

constexpr glm::vec3 kOrigin{0.0f, 0.0f, 0.0f};
constexpr glm::vec3 kFlipZ{0.0f, 0.0f, 180.0f};

// Every fixed object except the loading picture, which start-up makes first.
const std::vector<FixedObject>& fixedObjects() {
    using namespace render_id;
    static const std::vector<FixedObject> table = {
        {kSkybox, CubeShape, "skybox", &kSkyboxProgram, kOrigin, kOrigin, {11200, 11200, 11200}},
        {kMuzzleFlash, QuadShape, "muzzleFlash", &kMuzzleFlashProgram, {2, -2.5f, -2.5f}, kOrigin, {1, 1, 1}},
        {kCrossHair, QuadShape, "crossHair1", &kHudProgram, kOrigin, kOrigin, {1.5f, 2.2f, 1.5f}},
        {kSniperCrossHair, QuadShape, "crossHair2", &kHudProgram, kOrigin, kOrigin, {1.5f, 2.2f, 1.5f}},
        {kAmmoIcon, QuadShape, "ammoIcon", &kHudProgram, {-14.5f, -18.4f, 0}, kFlipZ, {0.6f, 1, 0.6f}},
        {kHealthIcon, QuadShape, "healthIcon", &kHudProgram, {-18.5f, -18.4f, 0}, kFlipZ, {0.6f, 1, 0.6f}},
        {kNodesIcon, QuadShape, "encubridoresIcon", &kHudProgram, {-10, -18, 0}, kFlipZ, {0.6f, 0.8f, 0.6f}},
        {kScannerIcon, QuadShape, "escanerIcon", &kHudProgram, {-7.5f, -18, 0}, kFlipZ, {0.6f, 0.8f, 0.6f}},
        {kHiyuraIcon, QuadShape, "Hiyura0Icon", &kHudProgram, {19, -18, 0}, kFlipZ, {0.6f, 1.5f, 0.6f}},
        {kHiyuraIcon + 1, QuadShape, "Hiyura1Icon", &kHudProgram, {19, -18, 0}, kFlipZ, {0.6f, 1.5f, 0.6f}},
        {kEnergyCellIcon, QuadShape, "Celula0Icon", &kHudProgram, {19, -12.95f, 0}, kFlipZ, {0.6f, 1.5f, 0.6f}},
        {kEnergyCellIcon + 1, QuadShape, "Celula1Icon", &kHudProgram, {19, -12.95f, 0}, kFlipZ, {0.6f, 1.5f, 0.6f}},
        {kConnectedCellsIcon, QuadShape, "CelulasConectadas0Icon", &kHudProgram, {19, -14.9f, 0}, kFlipZ, {0.6f, 0.4f, 0.6f}},
        {kConnectedCellsIcon + 1, QuadShape, "CelulasConectadas1Icon", &kHudProgram, {19, -14.9f, 0}, kFlipZ, {0.6f, 0.4f, 0.6f}},
        {kConnectedCellsIcon + 2, QuadShape, "CelulasConectadas2Icon", &kHudProgram, {19, -14.9f, 0}, kFlipZ, {0.6f, 0.4f, 0.6f}},
        {kConnectedCellsIcon + 3, QuadShape, "CelulasConectadas3Icon", &kHudProgram, {19, -14.9f, 0}, kFlipZ, {0.6f, 0.4f, 0.6f}},
        {kConnectedCellsIcon + 4, QuadShape, "CelulasConectadas4Icon", &kHudProgram, {19, -14.9f, 0}, kFlipZ, {0.6f, 0.4f, 0.6f}},
        {kInjectorIcon, QuadShape, "InyectorPlasma0Icon", &kHudProgram, {19, -9, 0}, kFlipZ, {0.6f, 1.5f, 0.6f}},
        {kInjectorIcon + 1, QuadShape, "InyectorPlasma1Icon", &kHudProgram, {19, -9, 0}, kFlipZ, {0.6f, 1.5f, 0.6f}},
        {kRedKeyIcon, QuadShape, "KeyRedIcon0Icon", &kHudProgram, {-5, -18.5f, 0}, kFlipZ, {0.75f, 1, 0.75f}},
        {kRedKeyIcon + 1, QuadShape, "KeyRedIcon1Icon", &kHudProgram, {-5, -18.5f, 0}, kFlipZ, {0.75f, 1, 0.75f}},
        {kGreenKeyIcon, QuadShape, "KeyGreenIcon0Icon", &kHudProgram, {-3.6f, -18.5f, 0}, kFlipZ, {0.6f, 1, 0.6f}},
        {kGreenKeyIcon + 1, QuadShape, "KeyGreenIcon1Icon", &kHudProgram, {-3.6f, -18.5f, 0}, kFlipZ, {0.6f, 1, 0.6f}},
        {kYellowKeyIcon, QuadShape, "KeyYellowIcon0Icon", &kHudProgram, {-2.35f, -18.5f, 0}, kFlipZ, {0.6f, 1, 0.6f}},
        {kYellowKeyIcon + 1, QuadShape, "KeyYellowIcon1Icon", &kHudProgram, {-2.35f, -18.5f, 0}, kFlipZ, {0.6f, 1, 0.6f}},
        {kRepellentIcon, QuadShape, "RepelenteAzul0Icon", &kHudProgram, {-1.1f, -18.5f, 0}, kFlipZ, {0.6f, 1, 0.6f}},
        {kRepellentIcon + 1, QuadShape, "RepelenteAzul1Icon", &kHudProgram, {-1.1f, -18.5f, 0}, kFlipZ, {0.6f, 1, 0.6f}},
        {kInductorIcon, QuadShape, "InductorRojo0Icon", &kHudProgram, {0.3f, -18.5f, 0}, kFlipZ, {0.75f, 1, 0.75f}},
        {kInductorIcon + 1, QuadShape, "InductorRojo1Icon", &kHudProgram, {0.3f, -18.5f, 0}, kFlipZ, {0.75f, 1, 0.75f}},
        {kCompassIcon, QuadShape, "CompassIcon", &kHudProgram, {2.6f, -18.5f, 0}, kFlipZ, {0.7f, 1.2f, 0.7f}},
        {kCompassIcon + 1, QuadShape, "CompassNorthIcon", &kHudProgram, {2.6f, -18.5f, 0}, kFlipZ, {0.7f, 1.2f, 0.7f}},
        {kCompassIcon + 2, QuadShape, "CompassSouthIcon", &kHudProgram, {2.6f, -18.5f, 0}, kFlipZ, {0.7f, 1.2f, 0.7f}},
        {kSniperScope, QuadShape, "sniperScope", &kHudProgram, kOrigin, kOrigin, {20, 20, 1}},
        {kPostProcessingQuad, QuadShape, "bricks_01_tex", &kPostProcessingProgram, kOrigin, kOrigin, {10, 10, 10}},
        {kProjectile, SphereShape, "Projectile", &kUnlitProgram, kOrigin, kOrigin, {10, 10, 10}},
        {kProjectileBlast, SphereShape, "ProjectileBlast", &kUnlitProgram, kOrigin, kOrigin, {5, 5, 5}},
        {kMainMenuScreen, QuadShape, "mainMenuScreen", &kHudProgram, kOrigin, kOrigin, {20, 20, 20}},
        {kMenuIndicator, QuadShape, "indicator", &kHudProgram, {-30, 0, 0}, kOrigin, {0.5f, 0.5f, 0.5f}},
        {kVersionBadge, QuadShape, "appVersion", &kHudProgram, {-17.2f, -18.7f, 0}, kOrigin, {2.5f, 0.6f, 1}},
        {kAboutScreen, QuadShape, "aboutScreen", &kHudProgram, kOrigin, kOrigin, {20, 20, 20}},
        {kCreditsScreen, QuadShape, "creditsScreen", &kHudProgram, kOrigin, kOrigin, {20, 20, 20}},
        {kPlayerDeadPicture, QuadShape, "playerDead", &kHudProgram, kOrigin, kOrigin, {20, 20, 20}},
        {kVictoryPicture, QuadShape, "victorious", &kHudProgram, kOrigin, kOrigin, {17, 17, 17}},
        {kBloodFrame, QuadShape, "bloodframe", &kHudProgram, kOrigin, kOrigin, {20, 20, 20}},
        {kMapBackground, QuadShape, "backgroundMapScreen", &kHudProgram, kOrigin, kOrigin, {20, 20, 20}},
        {49, SphereShape, "sphere_trace_01_tex", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {50, SphereShape, "sphere_trace_02_tex", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {51, SphereShape, "sphere_trace_03_tex", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {52, CubeShape, "bricks_01_tex", &kEnemyProgram, kOrigin, kOrigin, {10, 10, 10}},
        {53, CubeShape, "bricks_02_tex", &kEnemyProgram, kOrigin, kOrigin, {10, 10, 10}},
        {54, CubeShape, "bricks_03_tex", &kEnemyProgram, kOrigin, kOrigin, {10, 10, 10}},
        {55, CubeShape, "bricks_04_tex", &kEnemyProgram, kOrigin, kOrigin, {10, 10, 10}},
        {56, CubeShape, "bricks_05_tex", &kEnemyProgram, kOrigin, kOrigin, {10, 10, 10}},
        {60, QuadShape, "FrameWall_P1", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {61, QuadShape, "FrameWall_P2", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {62, QuadShape, "FrameWall_P3", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {63, QuadShape, "FrameWall_P4", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {64, QuadShape, "FrameWall_P5", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {65, QuadShape, "FrameWall_P6", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {66, QuadShape, "FrameWall_P7", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {67, QuadShape, "FrameWall_P8", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {68, QuadShape, "FrameWall_P9", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {69, QuadShape, "FrameWall_P10", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {70, QuadShape, "FrameWall_P11", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {71, QuadShape, "FrameWall_P12", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {kEnemySphere, SphereShape, "enemySphere", &kEnemyProgram, kOrigin, kOrigin, {1, 1, 1}},
        {kMapTrace, QuadShape, "Trace_IconMap", &kHudProgram, kOrigin, kFlipZ, {1, 1, 1}},
        {kMapPlayerMarker, QuadShape, "Player_IconMap", &kHudProgram, kOrigin, kFlipZ, {1, 1, 1}},
    };
    return table;
}

// Draws one flat object with the screen camera, as the HUD and the screens are drawn.
void drawFlat(int32_t id, const Camera& screenCamera) {
    if (const RenderObject* object = Renderer::instance().findObject(id)) object->draw(screenCamera, kOrigin);
}

template <typename Setter>
void withProgram(int32_t id, Setter set) {
    RenderObject* object = Renderer::instance().findObject(id);
    if (!object || !object->shader.programId) return;
    glUseProgram(object->shader.programId);
    set(object->shader);
    glUseProgram(0);
}

}  // namespace

void Game::createRenderObjects() {
    Renderer& renderer = Renderer::instance();
    for (const FixedObject& o : fixedObjects())
        renderer.createObject(o.kind, o.key, o.id, *o.program, o.position, o.rotation, o.scale, "blank", 0);

    // The fortress's walls, frames and traces take the night fog for the whole run.
    for (int32_t id = render_id::kFirstFogged; id <= render_id::kLastFogged; ++id) {
        if (id > render_id::kLastSolidCube && id < 60) continue;  // no objects between the cubes and the frames
        withProgram(id, [](const ShaderProgram& shader) { shader.setBool("nightFog", true); });
    }
    // The indicator and the version badge are drawn before the menu picture in the same
    // plane: their clear pixels must be discarded so the picture shows through them.
    for (int32_t id : {render_id::kMenuIndicator, render_id::kVersionBadge}) withProgram(id, [](const ShaderProgram& shader) { shader.setFloat("alpha_level", 0.2f); });
}

void Game::showLoadingScreen() {
    Renderer::instance().createObject(QuadShape, "loadingScreen", render_id::kLoadingScreen, kHudProgram, kOrigin, kOrigin, {20, 20, 20},
                                      "blank", 0);
    drawLoadingFrame();
}

void Game::drawLoadingFrame() {
    Renderer& renderer = Renderer::instance();
    if (!renderer.window || !renderer.glReady) return;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawFlat(render_id::kLoadingScreen, screenCamera);
    SDL_GL_SwapWindow(renderer.window);
}

void Game::drawFrame(const ShellFrame& frame, int64_t frameIndex) {
    if (frame.played) {
        // A fast-forward plays its frames as the headless game does: rules only.
        if (Renderer::instance().glReady && frameIndex >= aids.fastForward) drawPlayingFrame(frame);
        return;
    }
    if (isMenuScreen(shell.state)) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawMenuScreen();
    }
    // Quit: nothing is drawn
}

void Game::drawMenuScreen() {
    if (RenderObject* indicator = Renderer::instance().findObject(render_id::kMenuIndicator))
        indicator->transform.position = {shell.indicatorX, shell.indicatorY, 0.0f};
    switch (shell.state) {
        case MainMenu:
            // The badge and the indicator first: in one plane the first drawn wins.
            drawFlat(render_id::kVersionBadge, screenCamera);
            drawFlat(render_id::kMenuIndicator, screenCamera);
            drawFlat(render_id::kMainMenuScreen, screenCamera);
            break;
        case About:
            drawFlat(render_id::kMenuIndicator, screenCamera);
            drawFlat(render_id::kAboutScreen, screenCamera);
            break;
        case Credits:
            drawFlat(render_id::kMenuIndicator, screenCamera);
            drawFlat(render_id::kCreditsScreen, screenCamera);
            break;
        default:
            break;
    }
}

void Game::drawPlayingFrame(const ShellFrame& frame) {
    // A flash lasts exactly the frame whose update asked for it.
    if (frame.thunderFlash) {
        withProgram(render_id::kPostProcessingQuad, [](const ShaderProgram& shader) { shader.setBool("thunderstormEffect", true); });
        postEffects.thunderstorm = true;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.fbo);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginScene();
    drawInGameFrame();
    // Low health turns the world grey; the last living value stays after death.
    if (!shell.session->player.dead) {
        const bool grey = shell.session->grayScale;
        withProgram(render_id::kPostProcessingQuad, [grey](const ShaderProgram& shader) { shader.setBool("grayScaleEffect", grey); });
        postEffects.grayScale = grey;
    }
    FrameProfiler::Scope pass(profiler, FrameProfiler::Pass::PostProcessing);
    if (!Renderer::instance().referenceDrawing && !postEffects.any()) {
        // With both effects off the post-processing pass passes the picture through
        // unchanged: a copy gives the same pixels without shading a full-screen quad.
        const Renderer& renderer = Renderer::instance();
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer.fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, renderer.width, renderer.height, 0, 0, renderer.width, renderer.height,
                          GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (const RenderObject* quad = Renderer::instance().findObject(render_id::kPostProcessingQuad)) {
        quad->draw(screenCamera, kOrigin, false, nullptr, nullptr, true, framebuffer.colorTexture);
        withProgram(render_id::kPostProcessingQuad, [](const ShaderProgram& shader) { shader.setBool("thunderstormEffect", false); });
        postEffects.thunderstorm = false;
    }
}

void Game::drawFlatObject(int32_t id) { drawFlat(id, screenCamera); }

void Game::createFramebuffer() {
    const Renderer& renderer = Renderer::instance();
    if (!renderer.glReady) return;
    framebuffer.create(renderer.width, renderer.height);
    if (renderScalePercent < 100) {
        sceneWidth = std::max(1, renderer.width * renderScalePercent / 100);
        sceneHeight = std::max(1, renderer.height * renderScalePercent / 100);
        sceneBuffer.create(sceneWidth, sceneHeight);
    }
}

void Game::beginScene() {
    if (!sceneBuffer.fbo) return;
    glBindFramebuffer(GL_FRAMEBUFFER, sceneBuffer.fbo);
    glViewport(0, 0, sceneWidth, sceneHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Game::endScene() {
    if (!sceneBuffer.fbo) return;
    // The scene stretched over the whole picture; the HUD then lies on it at full size,
    // in a depth buffer of its own.
    const Renderer& renderer = Renderer::instance();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, sceneBuffer.fbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer.fbo);
    glBlitFramebuffer(0, 0, sceneWidth, sceneHeight, 0, 0, renderer.width, renderer.height, GL_COLOR_BUFFER_BIT,
                      GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.fbo);
    glViewport(0, 0, renderer.width, renderer.height);
    glClear(GL_DEPTH_BUFFER_BIT);
}
