#pragma once
// The windowed game. The singletons (Renderer, InputManager, AudioManager, ...) live
// outside it; the random engine is the session's.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/Desktop.h"
#include "effects/ClothRenderer.h"
#include "effects/OffscreenFramebuffer.h"
#include "effects/ParticleRenderer.h"
#include "scene/Camera.h"
#include "gameplay/GameRecorder.h"
#include "gameplay/GameServices.h"
#include "gameplay/GameShell.h"
#include "gameplay/GameState.h"
#include "gameplay/Hud.h"
#include "scene/Lights.h"
#include "gameplay/ReplayPlayback.h"
#include "gameplay/Session.h"
#include "gameplay/TestAids.h"
#include "render/BlockBatch.h"
#include "render/FrameProfiler.h"
#include "render/Frustum.h"
#include "render/ModelLibrary.h"
#include "render/TextLabel.h"
#include "render/TerrainRenderer.h"
#include "world/FortressBuild.h"
#include "world/Preferences.h"


// Swaps the rows of a surface in place: OpenGL's rows run from the bottom up.
void flipSurfaceVertically(SDL_Surface* surface);

// The windowed game: the play shell (gameplay/GameShell.h) driven by the window's
// input and frame clock, and everything that shows it: the window, the drawing, the
// sounds, the screenshots, the test aids' trace.
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
    const TestAids& testAids() const { return aids; }
    // render_scale=: the 3D scene's share of the window's pixels, 50 ... 100 per cent.
    void setRenderScale(int32_t percent) { renderScalePercent = percent; }

    // The window's side of what the shell asks: sounds, pointer, dialogs, screen.
    std::unique_ptr<GameServices> services;
    // The play: menus, keys, overlays, clocks, the session.
    GameShell shell;

    // The desktop, replaceable by a test.
    std::unique_ptr<ConfirmDialog> confirmDialog = makeSdlConfirmDialog();
    std::unique_ptr<WebPageOpener> webPageOpener = makeSdlWebPageOpener();
    // Where the pointer is, read on every mouse motion; SDL's own position by default.
    std::function<void(int32_t& x, int32_t& y)> readPointer = [](int32_t& x, int32_t& y) { SDL_GetMouseState(&x, &y); };

    // The frame clock and the frame counter of the statistics line (a game start resets both).
    float lastFrameTicks = 0.0f;
    int32_t fpsFrames = 0;

private:
    friend class WindowServices;
    friend class WindowStartUp;

    void startUp();
    void mainLoop();
    // One frame of the main loop: the events, the shell's frame, its picture.
    void runFrame();
    // This frame's input: the window system's events, or the script's.
    void collectEvents(int64_t frameIndex);
    void traceFrame(bool last);
    void shutDown();

    // ---- Replays (GameReplay.cpp) ----
    // --replay: the file checked and opened before the window (false: one line said).
    bool openReplay();
    // Where the games played go; none while a replay plays.
    void setUpRecording();
    // Under a replay: the frame's events, time step, clock and Escape answer are the
    // file's; the real input only ends it (Escape: back to the menu, a close: quit).
    void replayFrameInput(int64_t frameIndex);
    // The replay's game ended (or the file did): the menus, and real play, go on.
    void afterReplayFrame();
    void endReplay();

    // ---- Start-up ----
    void showLoadingScreen();
    void initialiseAudio();
    // World building's fixed render objects: screens, HUD, sky, walls, traces.
    void createRenderObjects();
    void createLabels();
    void createFramebuffer();

    // ---- The picture of a frame ----
    // The menu screens, or the playing frame.
    void drawFrame(const ShellFrame& frame, int64_t frameIndex);
    // Clears, draws the loading picture with the screen camera and presents it.
    void drawLoadingFrame();
    void drawMenuScreen();
    void drawPlayingFrame(const ShellFrame& frame);
    // Where the 3D scene of a playing frame goes, and what follows it: the full-size
    // picture for the aim mark and the HUD.
    void beginScene();
    void endScene();
    void drawInGameFrame();
    void drawHeldGun();
    void drawEnemyShots();
    void drawModel(ModelHandle handle, const ModelPose& pose, const Frustum& view);
    void drawDeferredModels();
    void drawAimMark();
    // The in-game frame's HUD, pictures and overlays, after the aim mark.
    void drawHud();
    void drawMapScreen();
    void drawFlatObject(int32_t id);
    // Writes the composed frame in the back buffer as a BMP (the number, or the next free one).
    void saveScreenshot(int32_t drawn);

    float frameDelta = 0.0f;
    TestAids aids;
    int exitStatus = 0;
    GameRecorder recorder;
    std::unique_ptr<ReplayPlayback> replay;  // set while a replay plays
    // What the shell asks of the outside while the replay plays: the recorded game's.
    std::optional<int64_t> replayCalendar;
    std::optional<DialogAnswer> replayAnswer;
    // The replay is shown at the pace it was played: frame k when the frame times
    // before it have passed since the first frame shown.
    uint32_t paceStartTicks = 0;
    double pacedSeconds = -1.0;
    int64_t lastTracedFrame = -1;
    std::FILE* traceFile = nullptr;
    bool loadedSoundTable = false;  // start-up loaded the sound table: the destructor releases it

    Camera screenCamera;  // the flat screens' and the HUD's (the scene's camera is the session's)
    // The HUD's texts.
    struct Labels {
        TextLabel health, ammo, stats, windowSize, nodes, scanner, clock, record, fortressCaption, fortressName,
            message;
    } labels;
    float fpsTimer = 0.0f;
    ProcessorTimes previousProcessorTimes;  // the processor load compares with the last reading
    std::filesystem::path screenshotsFolder = gameFiles().screenshotsFolder;  // the run's (util/Paths.h)
    std::optional<int32_t> pendingScreenshot;  // F12's drawn number, saved with the next frame

    OffscreenFramebuffer framebuffer;
    // render_scale= below 100: the 3D scene's own smaller framebuffer, stretched into
    // framebuffer before the HUD is drawn over it at full size.
    int32_t renderScalePercent = 100;
    OffscreenFramebuffer sceneBuffer;
    int32_t sceneWidth = 0;
    int32_t sceneHeight = 0;
    ModelLibrary modelLibrary;
    std::unique_ptr<ModelLoader> modelLoader;  // instances load through it into modelLibrary
    TerrainRenderer terrainRenderer;
    BlockBatch blockBatch;
    ClothRenderer clothRenderer;
    ParticleRenderer girlRenderer;
    ParticleRenderer spaceshipRenderer;
    ParticleRenderer enemyDamageRenderer;   // every drone's hit sparks
    ParticleRenderer enemyDestroyRenderer;  // every drone's wreck
    int32_t modelsDrawn = 0;                // model instances the last frame drew (after culling)
    FrameProfiler profiler;                 // --profile
    // The post-processing program's two switches as last set.
    struct PostEffects {
        bool thunderstorm = false;
        bool grayScale = false;
        bool any() const { return thunderstorm || grayScale; }
    } postEffects;
    // The default drawing holds the world's models back to draw them near to far.
    struct DeferredModel {
        float distance;
        const Model* model;
        ModelPose pose;
    };
    bool deferModels = false;
    float scenePixelsPerUnit = 0.0f;  // the frame's scale on screen, for leaving fogged models out
    std::vector<DeferredModel> deferredModels;
};
