#include "app/Game.h"

#include <GL/glew.h>

#include "app/InputManager.h"
#include "audio/AudioManager.h"
#include "render/ImageStore.h"
#include "render/Renderer.h"
#include "util/FrameClock.h"

using enum GameState;

// What the shell asks of the window: the audio manager's sounds, the mouse, the
// desktop's dialogs, the loading picture and the screenshot of the next frame.
class WindowServices : public GameServices {
public:
    explicit WindowServices(Game& window) : game(window) {}

    void playOnChannel(const std::string& sound, uint16_t channel, float volume) override {
        AudioManager::instance().playOnChannel(sound, channel, volume);
    }
    void stopChannel(uint16_t channel) override { AudioManager::instance().stopChannel(channel); }
    void playOneShot(const std::string& sound) override { AudioManager::instance().playOneShot(sound); }
    void setChannelPaused(uint16_t channel, bool paused) override {
        AudioManager::instance().setChannelPaused(channel, paused);
    }

    void capturePointer() override { captureMouse(); }
    void releasePointer() override { releaseMouse(); }
    void pointerAt(const InputEvent&, int32_t& x, int32_t& y) override { game.readPointer(x, y); }

    DialogAnswer askYesNo(const std::string& caption, const std::string& text) override {
        if (game.replayAnswer) return *game.replayAnswer;
        const DialogAnswer answer = game.confirmDialog->askYesNo(caption, text);
        takeFocusBack();
        return answer;
    }
    void openWebPage(const std::string& url) override { game.webPageOpener->open(url); }

    void showLoadingPicture() override { game.drawLoadingFrame(); }
    void gameStarted(bool firstGame) override {
        game.fpsTimer = 0.0f;
        game.fpsFrames = 0;
        // The reset took its time: a later game's first frame measures from its start.
        if (!firstGame) game.lastFrameTicks = static_cast<float>(SDL_GetTicks());
    }
    // The window's front buffer reads back black under Mesa's software renderer once
    // presented, so the picture is taken from the next composed frame, just before it
    // is presented.
    void takeScreenshot(int32_t number) override { game.pendingScreenshot = number; }

    int64_t calendarSeconds() override {
        return game.replayCalendar ? *game.replayCalendar : GameServices::calendarSeconds();
    }

private:
    Game& game;
};

namespace {

constexpr int kPausedFrameWaitMs = 50;

// Under the test aids the Escape question is answered No without a box.
class AnswerNo : public ConfirmDialog {
public:
    DialogAnswer askYesNo(const std::string&, const std::string&) override { return DialogAnswer::No; }
};

}  // namespace

Game::Game() : services(std::make_unique<WindowServices>(*this)), shell(*services) {
    screenCamera.setOrthographic(-20.0f, 20.0f, -20.0f, 20.0f, 0.0f, 100.0f);
}

Game::~Game() {
    if (traceFile) std::fclose(traceFile);
    InputManager::instance().controllers.stop();
    // The sounds belong to the game that loaded them; the audio manager itself lives
    // until the process ends. A game that never started up leaves them alone.
    if (loadedSoundTable) AudioManager::instance().releaseSounds();
}

bool Game::useTestAids(TestAids given) {
    aids = std::move(given);
    profiler.enabled = aids.profile;
    Renderer::instance().referenceDrawing = aids.referenceDrawing;
    if (aids.script) {
        confirmDialog = std::make_unique<AnswerNo>();
        shell.startOnFirstFrame = true;
        shell.useTestClock = true;
    }
    if (!aids.recordPath.empty()) recorder.recordFirstGameInto(aids.recordPath);
    if (!aids.replayPath.empty() && !openReplay()) return false;
    if (!aids.tracePath.empty()) {
        traceFile = std::fopen(aids.tracePath.c_str(), "w");
        if (!traceFile) {
            std::fprintf(stderr, "ERROR: Unable to write the trace file %s\n", aids.tracePath.c_str());
            return false;
        }
    }
    return true;
}

int Game::run() {
    // Image decoding into the store comes first: it needs no window.
    ImageStore::instance().loadCatalogue();
    // Without a window and GL nothing could be shown or quit: an invisible process
    // that never ends. The renderer has said why; the caller releases and exits.
    if (!Renderer::instance().initialize()) return 1;
    // A script stands for all of the input: no pad is read then.
    if (!aids.script) InputManager::instance().controllers.start();
    startUp();
    return exitStatus;
}

void Game::mainLoop() {
    while (shell.state != Quit) runFrame();
    shutDown();
}

void Game::runFrame() {
    frameDelta = advanceFrameClock(SDL_GetTicks(), lastFrameTicks);
    if (aids.fixedDelta) frameDelta = *aids.fixedDelta;
    const int64_t frameIndex = shell.framesRun;

    collectEvents(frameIndex);
    if (replay) replayFrameInput(frameIndex);
    InputManager& input = InputManager::instance();
    const ShellFrame frame = shell.runFrame(input.events, frameDelta);
    input.clear();  // the frame's events are used up
    drawFrame(frame, frameIndex);

    if (pendingScreenshot) {
        saveScreenshot(*pendingScreenshot);
        pendingScreenshot.reset();
    }
    if (frameIndex >= aids.fastForward) {
        if (frame.played) profiler.begin(FrameProfiler::Pass::Present);
        SDL_GL_SwapWindow(Renderer::instance().window);
        if (frame.played) {
            profiler.end();
            profiler.endFrame();
        }
        SDL_Delay(1);
    }
    // Paused in the background: the frames go on (the picture stays, a click is seen at
    // once) without drawing as fast as the machine can.
    if (shell.overlays.paused && !aids.script) SDL_WaitEventTimeout(nullptr, kPausedFrameWaitMs);

    const bool last = aids.frameLimit && shell.framesRun >= *aids.frameLimit;
    traceFrame(last);
    if (last) shell.state = Quit;
    else if (replay) afterReplayFrame();
}

void Game::collectEvents(int64_t frameIndex) {
    InputManager& input = InputManager::instance();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        // Under a script only the window's close request is taken from the window system.
        if (!aids.script || event.type == SDL_QUIT) input.push(event);
    }
    if (aids.script)
        for (const InputEvent& e : aids.script->eventsAt(static_cast<uint32_t>(frameIndex))) input.push(e);
    else
        input.controllersFrame();
}

void Game::traceFrame(bool last) {
    if (!traceFile || lastTracedFrame == shell.framesRun) return;
    const bool due = aids.traceEvery > 0 && shell.framesRun % aids.traceEvery == 0;
    if (!due && !last) return;
    std::fprintf(traceFile, "%s\n", shell.traceLine().c_str());
    std::fflush(traceFile);
    lastTracedFrame = shell.framesRun;
}

void Game::shutDown() {
    traceFrame(true);  // the last frame is always in the trace
    shell.stopRecording();
    if (profiler.enabled) {
        std::fputs(profiler.report().c_str(), stdout);
        std::fflush(stdout);
        profiler.release();
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapWindow(Renderer::instance().window);
    AudioManager::instance().stopChannel(kMenuMusicChannel);
}
