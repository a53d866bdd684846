#pragma once
// The one object that owns all state of the running program: the game state, the
// cameras, the fortress identity, the menu's hit areas, timers and flags. The
// singletons (Renderer, InputManager, ...) live outside it; the random engine is the
// session's.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "effects/ClothRenderer.h"
#include "effects/OffscreenFramebuffer.h"
#include "effects/ParticleRenderer.h"
#include "gameplay/Camera.h"
#include "gameplay/GameServices.h"
#include "gameplay/GameState.h"
#include "gameplay/Hud.h"
#include "gameplay/Lights.h"
#include "gameplay/Session.h"
#include "gameplay/TestAids.h"
#include "render/BlockBatch.h"
#include "render/FrameProfiler.h"
#include "render/Frustum.h"
#include "render/ModelLibrary.h"
#include "render/TextLabel.h"
#include "render/TerrainRenderer.h"
#include "ui/Menu.h"
#include "world/FortressBuild.h"
#include "world/Preferences.h"


// Swaps the rows of a surface in place: OpenGL's rows run from the bottom up.
void flipSurfaceVertically(SDL_Surface* surface);

class Game {
public:
    Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    ~Game();

    // Builds everything behind the loading screen, then runs frames until Quit.
    // Returns the process's exit status: 0, or 1 when no window and GL context exist.
    int run();
    // Replaces real input, the frame clock and the calendar with the test aids' script,
    // fixed frame time and test clock, and traces the state (before run). False, after
    // one line on standard error, when the trace file cannot be written.
    [[nodiscard]] bool useTestAids(TestAids aids);
    void startUp();
    void mainLoop();

    // One frame of the main loop.
    void runFrame();
    // Reacts to the frame's events; may change gameState.
    void handleMenuInput(const InputEvents& events);
    // Shared work of the menu states: empties the event list, keeps the menu music going.
    void menuFrame();
    // Draws the frame of the current state.
    void drawState();

    // Application state
    GameState gameState = GameState::MainMenu;
    float frameDelta = 0.0f;
    float lastFrameTicks = 0.0f;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    int32_t hoveredButton = 0;

    // Overlay and display flags
    bool aboutShown = false;
    bool mapShown = false;
    bool overlayFreeze = false;
    bool statsShown = false;
    bool firstStart = true;

    // Fortress identity and timing
    FortressIdentity fortress;
    uint32_t generatorSeed = 0;  // 2 x mapSeed, handed to the fortress generator's srand

    // Cameras (the scene's camera is the session's)
    Camera screenCamera;

    // HUD state
    float fpsTimer = 0.0f;
    int32_t fpsFrames = 0;
    TextLabel healthLabel;
    TextLabel ammoLabel;
    TextLabel statsLabel;
    TextLabel windowSizeLabel;
    TextLabel nodesLabel;
    TextLabel scannerLabel;
    TextLabel clockLabel;
    TextLabel recordLabel;
    TextLabel fortressCaptionLabel;
    TextLabel fortressNameLabel;
    TextLabel messageLabel;
    ProcessorTimes previousProcessorTimes;  // the processor load compares with the last reading
    std::filesystem::path screenshotsFolder = gameFiles().screenshotsFolder;  // the run's (util/Paths.h)
    std::optional<int32_t> pendingScreenshot;  // F12's drawn number, saved with the next frame
    // Writes the composed frame in the back buffer as a BMP (the number, or the next free one).
    void saveScreenshot(int32_t drawn);

    // The fortress and the game played in it, without the drawing: player, drones,
    // instances, lights, effects, the update's timers.
    std::unique_ptr<Session> session = std::make_unique<Session>();

    // ---- Menus, dialogs and audio ----
    // Puts the menu's hover indicator at (x, y) in screen-camera units.
    void moveIndicator(float x, float y);
    // Parks the indicator above the visible area.
    void hideIndicator();
    // Resets the per-game state and enters play (button 1 of the main menu).
    void startGame();
    // Leaves play for the main menu: releases the mouse, ends the in-game music.
    void returnToMenu();
    // Key M while playing: the map screen, which pauses the game and its music.
    void toggleMapScreen();
    // Clears, draws the loading picture with the screen camera and presents it.
    void drawLoadingFrame();
    // In-game keys N and F12.
    void useScanner();
    void takeScreenshot();

    std::vector<ButtonArea> buttonAreas;
    bool loadedSoundTable = false;  // start-up loaded the sound table: the destructor releases it
    std::unique_ptr<ConfirmDialog> confirmDialog = makeSdlConfirmDialog();
    std::unique_ptr<WebPageOpener> webPageOpener = makeSdlWebPageOpener();
    // Where the pointer is, read on every mouse motion; SDL's own position by default.
    std::function<void(int32_t& x, int32_t& y)> readPointer = [](int32_t& x, int32_t& y) { SDL_GetMouseState(&x, &y); };

    // ---- Rendering ----
    OffscreenFramebuffer framebuffer;
    // render_scale= below 100: the 3D scene's own smaller framebuffer, stretched into
    // framebuffer before the HUD is drawn over it at full size.
    int32_t renderScalePercent = 100;
    OffscreenFramebuffer sceneBuffer;
    int32_t sceneWidth = 0;
    int32_t sceneHeight = 0;
    // Where the 3D scene of a playing frame goes, and what follows it: the full-size
    // picture for the aim mark and the HUD.
    void beginScene();
    void endScene();
    ModelLibrary modelLibrary;
    std::unique_ptr<ModelLoader> modelLoader;  // instances load through it into modelLibrary
    TerrainRenderer terrainRenderer;
    BlockBatch blockBatch;
    ClothRenderer clothRenderer;
    ParticleRenderer girlRenderer;
    ParticleRenderer spaceshipRenderer;
    ParticleRenderer enemyDamageRenderer;  // every drone's hit sparks
    ParticleRenderer enemyDestroyRenderer;  // every drone's wreck
    std::unique_ptr<GameServices> services;  // the rules' sounds, over the audio manager
    int32_t modelsDrawn = 0;                 // model instances the last frame drew (after culling)
    FrameProfiler profiler;                  // --profile
    // The post-processing program's two switches as last set.
    struct PostEffects {
        bool thunderstorm = false;
        bool grayScale = false;
        bool any() const { return thunderstorm || grayScale; }
    } postEffects;
    // World building's fixed render objects: screens, HUD, sky, walls, traces.
    void createRenderObjects();
    // State 101's game update and in-game frame, drawn into the off-screen framebuffer.
    void updateAndDrawGame();
    void drawInGameFrame();
    void drawAimMark();
    // The in-game frame's HUD, pictures and overlays, after the aim mark.
    void drawHud();
    void drawMapScreen();
    void createLabels();
    void drawHeldGun();
    void drawEnemyShots();
    void drawModel(ModelHandle handle, const ModelPose& pose, const Frustum& view);
    // The default drawing holds the world's models back to draw them near to far.
    struct DeferredModel {
        float distance;
        const Model* model;
        ModelPose pose;
    };
    bool deferModels = false;
    float scenePixelsPerUnit = 0.0f;  // the frame's scale on screen, for leaving fogged models out
    std::vector<DeferredModel> deferredModels;
    void drawDeferredModels();
    void drawFlatObject(int32_t id);
    // Button 1 of the main menu: the game starts and takes the pointer.
    void startFromMenu();
    // The calendar's seconds, or the test clock's under the test aids.
    int64_t now() const;

    // ---- Test aids ----
    TestAids testAids;
    int64_t framesRun = 0;         // frames completed since the loop started
    double testClock = 0.0;        // the frame times summed
    int64_t lastTracedFrame = -1;
    std::FILE* traceFile = nullptr;

private:
    // Start-up steps, in the order they run.
    void showLoadingScreen();
    void loadFortressIdentity();
    void seedRandomEngines();
    void buildButtonAreas();
    void buildWorld();
    void buildTerrain();
    void setUpLights();
    void createParticleSystems();
    void initialiseAudio();
    void createHudLabels();
    void createFramebuffer();
    void createClothFlag();
    void initialisePlayer();

    void drawMenuScreen();
    void drawPlayingFrame();
    void shutDown();
    // This frame's input: the window system's events, or the script's.
    void collectEvents();
    void traceFrame(bool last);
};
