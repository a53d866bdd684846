#pragma once
// The program's play without a window: the start-up of the fortress in its fixed
// order, the menus and the keys of play, the start of a game and its end, the
// overlays and the clocks, and each frame's sequence (the frame's events, then the
// game update, then the frame's rules). The windowed game drives it and draws what it
// holds; the headless game drives it with nothing to draw. Whatever it needs from the
// outside goes through GameServices, so both run exactly the same play.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gameplay/GameServices.h"
#include "gameplay/GameState.h"
#include "gameplay/InputEvent.h"
#include "gameplay/MenuScreens.h"
#include "gameplay/Replay.h"
#include "gameplay/Session.h"
#include "world/FortressBuild.h"
#include "world/Preferences.h"

// What the start-up asks, between its steps, of whoever shows the game: the windowed
// game loads its settings, uploads and creates its drawing there; the headless game
// only names its fortress. The steps run in the order declared.
class StartUpSteps {
public:
    virtual ~StartUpSteps() = default;
    // The fortress to build, its record formatted.
    virtual FortressIdentity fortress() = 0;
    // Before the terrain: the drawing's fixed objects.
    virtual void worldBegins() {}
    virtual void terrainBuilt(Terrain&) {}
    // The generator's hooks (map icons, a pump that keeps the window responsive).
    virtual FortressBuildHooks fortressHooks() { return {}; }
    // The map's icons are made: the ones that objects placed during play show.
    virtual void fortressBuilt() {}
    // Where the furnished cells' models load, and what runs after each row.
    virtual ModelLoader& models() = 0;
    virtual std::function<void()> afterFurnishedRow() { return {}; }
    virtual void worldFurnished() {}
    virtual void particlesCreated(const Session&) {}
    virtual void clothCreated() {}
    virtual void playerCreated(Session&) {}
};

// The screens shown over play: while one is up the world stands still.
struct Overlays {
    bool about = false;   // F1's picture
    bool map = false;     // the map screen
    bool freeze = false;  // any of the two, or the pause below
    bool stats = false;   // F8's frame counter
    // The window lost the focus while playing: the world stands still, the pointer is
    // free and the play clock stops until a click into the window.
    bool paused = false;
};

// What one frame did, for whoever shows it.
struct ShellFrame {
    // The playing frame's update and rules ran: its picture is the in-game frame, even
    // when the frame ended the game (death, the escape) and the state is now the menu.
    bool played = false;
    bool thunderFlash = false;  // a lightning flash lights this one frame
};

class GameRecorder;

class GameShell {
public:
    explicit GameShell(GameServices& outside) : services(&outside) {}
    // Everything asked of the outside goes to these from now on.
    void useServices(GameServices& replacement) { services = &replacement; }

    // Builds the fortress and everything played in it, every random draw in the game's
    // order, up to the main menu. The window size places the menus' buttons.
    void startUp(StartUpSteps& steps, int windowWidth, int windowHeight);

    // One frame: the events through the menus and the keys of play, then, in play, the
    // game update and the frame's rules. dt is the frame's time in seconds.
    ShellFrame runFrame(const InputEvents& events, float dt);

    // The menu handler alone: the frame's events in the menu screens and the keys of play.
    void handleEvents(const InputEvents& events);
    // Button 1 of the main menu: the game starts and takes the pointer.
    void startFromMenu();
    // The menu screens' own part of a frame: their music.
    void menuFrame();
    // Leaves play for the main menu: releases the pointer, ends the in-game music.
    void returnToMenu();
    // The clock this frame read once at its start: the calendar's seconds, or the test
    // clock's. The game's start, the record check and the HUD all use this one reading.
    int64_t now() const { return clockReading; }
    // The play clock: seconds played in this game, standing still while paused.
    int64_t playClock() const { return (overlays.paused ? pausedClock : now()) - fortress.playStartTime; }
    // Ends the recording of a game still going on (the program stops with it).
    void stopRecording();
    // The trace line of the state now (the test aids' format).
    std::string traceLine() const;

    // ---- Test aids ----
    bool startOnFirstFrame = false;  // the first frame starts a game as button 1 would
    bool useTestClock = false;       // the clock is the frame times summed, not the calendar
    // Records every game played, when set (the windowed game's).
    GameRecorder* recorder = nullptr;

    GameState state = GameState::MainMenu;
    Overlays overlays;
    bool firstStart = true;
    FortressIdentity fortress;
    uint32_t generatorSeed = 0;  // 2 x mapSeed, handed to the fortress generator's srand
    int64_t framesRun = 0;       // frames completed
    double testClock = 0.0;      // the frame times summed

    // The menus: where the pointer was last seen, the button under it, and where the
    // hover marker stands (screen-camera units; parked above the picture when hidden).
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    int32_t hoveredButton = NoButton;
    float indicatorX = -30.0f;
    float indicatorY = 0.0f;
    std::vector<ButtonArea> buttonAreas;
    int32_t pointerWidth = 0;  // the window the pointer moves in (0 x 0: none)
    int32_t pointerHeight = 0;

    // The fortress and the game played in it.
    std::unique_ptr<Session> session = std::make_unique<Session>();

private:
    void startGame();
    ShellFrame playingFrame(const InputEvents& events, float dt);
    // Acts on a left click in a menu screen. False when the rest of the frame's events
    // must not be handled.
    bool clickHoveredButton();
    void hoverAt(int32_t x, int32_t y);
    void playingKeyUp(Key key);
    // False when the answer left the game.
    bool askToLeave();
    // The recording's three points.
    void recordStart();
    void recordFrame(const InputEvents& events, float dt, bool escapeAnsweredYes);
    void recordEnd(ReplayEnd reason);
    void toggleMapScreen();
    void moveIndicator(float x, float y);
    void hideIndicator();
    // The keyboard in the menu screens: the marker steps through the screen's buttons
    // (down: +1, up: -1), and a press acts on the marked one.
    void menuKeyDown(Key key);
    bool menuKeyUp(Key key);
    void stepMarker(int step);
    const ButtonArea* markedArea() const;
    // Focus lost while playing, and the click that comes back.
    void pause();
    void resume();
    void updateFreeze() { overlays.freeze = overlays.about || overlays.map || overlays.paused; }
    // The clock now to the fraction of a second the test clock has (the calendar's
    // whole seconds otherwise).
    double preciseNow() const;

    bool focusWent = false;             // this frame's events lost the focus
    Key menuKeyPressed = Key::Unknown;  // a press acts on the release of the key pressed in the menu
    double pausedAt = 0.0;              // preciseNow() when the pause began
    int64_t pausedClock = 0;            // now() then
    double pauseCarry = 0.0;            // paused time not yet taken off the play clock (under a second)

    GameServices* services;
    int64_t clockReading = 0;
    // The frame's events being handled, and the one now: a game started by a click takes
    // the events after it (playFrom), as a replay's first frame holds them.
    const InputEvents* handling = nullptr;
    size_t eventIndex = 0;
    size_t playFrom = 0;
    float frameTime = 0.0f;
};

bool isMenuScreen(GameState state);
