// The controls at the game's edge: keys read by their position and moved by the
// settings' lines, the window's focus pausing play, and a game controller (SDL's
// virtual one) playing a game through the same events as the keyboard and the mouse.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "app/Controllers.h"
#include "app/InputManager.h"
#include "app/KeyBindings.h"
#include "gameplay/HeadlessGame.h"
#include "world/PlayerOptions.h"

using enum GameState;

namespace {

constexpr float kDt = 1.0f / 60.0f;
constexpr uint32_t kSeed = 4242;

SDL_Event keyEvent(Uint32 type, SDL_Scancode code, SDL_Keycode sym) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = code;
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event windowEvent(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}

std::optional<InputEvent> edge(const SDL_Event& e, const EdgeSettings& settings = defaultEdgeSettings()) {
    int32_t x = 0, y = 0;
    return translate(e, true, x, y, settings);
}

// A number array of a trace line ("pos", "front", "ammo").
std::vector<double> traced(const std::string& line, const std::string& name) {
    const std::regex pattern("\"" + name + "\": \\[([^\\]]*)\\]");
    std::smatch m;
    if (!std::regex_search(line, m, pattern)) {
        ADD_FAILURE() << "no " << name << " in " << line;
        return {};
    }
    std::vector<double> values;
    const std::string list = m[1];
    for (size_t at = 0; at < list.size();) {
        size_t used = 0;
        values.push_back(std::stod(list.substr(at), &used));
        at += used;
        while (at < list.size() && (list[at] == ',' || list[at] == ' ')) ++at;
    }
    return values;
}

// The state of the trace line without the frame count.
std::string frameState(const std::string& line) { return std::regex_replace(line, std::regex("\"frame\": \\d+, "), ""); }

// ---- Keys by position ----

TEST(KeyBindings, EachUsPositionGivesItsKeyWhateverTheLayoutPrintsOnIt) {
    const KeyBindings keys;
    const std::pair<SDL_Scancode, Key> table[] = {
        {SDL_SCANCODE_W, Key::W},           {SDL_SCANCODE_A, Key::A},         {SDL_SCANCODE_S, Key::S},
        {SDL_SCANCODE_D, Key::D},           {SDL_SCANCODE_LSHIFT, Key::LShift}, {SDL_SCANCODE_SPACE, Key::Space},
        {SDL_SCANCODE_Q, Key::Q},           {SDL_SCANCODE_F, Key::F},         {SDL_SCANCODE_N, Key::N},
        {SDL_SCANCODE_M, Key::M},           {SDL_SCANCODE_F1, Key::F1},       {SDL_SCANCODE_F8, Key::F8},
        {SDL_SCANCODE_F12, Key::F12},       {SDL_SCANCODE_ESCAPE, Key::Escape}, {SDL_SCANCODE_UP, Key::Up},
        {SDL_SCANCODE_DOWN, Key::Down},     {SDL_SCANCODE_TAB, Key::Tab},     {SDL_SCANCODE_RETURN, Key::Return},
        {SDL_SCANCODE_KP_ENTER, Key::Return}, {SDL_SCANCODE_Z, Key::Unknown},   {SDL_SCANCODE_RSHIFT, Key::Unknown},
        {SDL_SCANCODE_UNKNOWN, Key::Unknown}, {static_cast<SDL_Scancode>(SDL_NUM_SCANCODES), Key::Unknown},
    };
    for (const auto& [code, key] : table) EXPECT_EQ(keys.keyOf(code), key) << SDL_GetScancodeName(code);

    // On an AZERTY keyboard the key in the W position is labelled Z, and the key in the
    // Z position W: the position walks, the label does not.
    EXPECT_EQ(edge(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_W, SDLK_z))->key, Key::W);
    EXPECT_EQ(edge(keyEvent(SDL_KEYUP, SDL_SCANCODE_Z, SDLK_w))->key, Key::Unknown);
    EXPECT_EQ(edge(keyEvent(SDL_KEYUP, SDL_SCANCODE_Z, SDLK_w))->type, InputType::KeyUp);
}

TEST(KeyBindings, SettingsLinesMoveActionsAndLeaveOutBadNamesAndClashes) {
    using A = BoundAction;
    struct Case {
        const char* what;
        const char* file;
        std::vector<std::pair<A, SDL_Scancode>> moved;  // every other action stays on its US position
        std::vector<std::string> complaints;
    } cases[] = {
        {"no lines", "[preferencias]\nmap_seed=3\n", {}, {}},
        {"one action", "key_jump=E\n", {{A::Jump, SDL_SCANCODE_E}}, {}},
        {"any case, blanks, a name of two words", "KEY_RUN =  left ctrl \r\n", {{A::Run, SDL_SCANCODE_LCTRL}}, {}},
        {"not SDL's name", "key_forward=Up Arrow\n", {}, {"key_forward=Up Arrow ignored: no key has that name (SDL's key names: E, Left Ctrl, Keypad 8, ...)"}},
        {"a swap takes a line each", "key_left=Q\nkey_switch=A\n", {{A::Left, SDL_SCANCODE_Q}, {A::Switch, SDL_SCANCODE_A}}, {}},
        {"its own place", "key_forward=W\n", {}, {}},
        {"keypad keys", "key_forward=Keypad 8\nkey_back=Keypad 5\n",
         {{A::Forward, SDL_SCANCODE_KP_8}, {A::Back, SDL_SCANCODE_KP_5}}, {}},
        {"a fixed key", "key_map=Tab\nkey_scanner=escape\n", {},
         {"key_map=Tab ignored: Tab is a fixed key", "key_scanner=escape ignored: Escape is a fixed key"}},
        {"no such key", "key_map=Banana\nkey_flashlight=\n", {},
         {"key_map=Banana ignored: no key has that name (SDL's key names: E, Left Ctrl, Keypad 8, ...)",
          "key_flashlight= ignored: no key has that name (SDL's key names: E, Left Ctrl, Keypad 8, ...)"}},
        {"the key of an action that stays", "key_jump=W\n", {}, {"key_jump=W ignored: W is the key of key_forward"}},
        {"two lines, one key: the earlier wins", "key_scanner=E\nkey_jump=E\n", {{A::Scanner, SDL_SCANCODE_E}},
         {"key_jump=E ignored: E is the key of key_scanner"}},
        // switch=W is refused, so switch stays on Q, which left then cannot have.
        {"a refusal can refuse another", "key_left=Q\nkey_switch=W\n", {},
         {"key_switch=W ignored: W is the key of key_forward", "key_left=Q ignored: Q is the key of key_switch"}},
        {"the first line of a setting counts", "key_jump=E\nkey_jump=R\nkey_run=R\n",
         {{A::Jump, SDL_SCANCODE_E}, {A::Run, SDL_SCANCODE_R}}, {}},
        {"unprintable bytes are not printed", "key_map=\x1b[2J\n", {},
         {"key_map=?[2J ignored: no key has that name (SDL's key names: E, Left Ctrl, Keypad 8, ...)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KeyBindings keys;
        std::vector<std::string> complaints;
        keys.rebind(parsePlayerOptions(c.file).keyBindings, complaints);
        EXPECT_EQ(complaints, c.complaints);
        const KeyBindings us;
        for (size_t k = 0; k < kBoundActionCount; ++k) {
            const auto action = static_cast<BoundAction>(k);
            SDL_Scancode expected = us.scancodeOf(action);
            for (const auto& [a, code] : c.moved)
                if (a == action) expected = code;
            EXPECT_EQ(keys.scancodeOf(action), expected) << kKeyBindingSettings[k];
            EXPECT_EQ(keys.keyOf(expected), keyOfAction(action)) << kKeyBindingSettings[k];
        }
        // A position left by its action gives nothing, unless another action took it.
        for (const auto& [a, code] : c.moved) {
            const SDL_Scancode left = us.scancodeOf(a);
            bool taken = false;
            for (size_t k = 0; k < kBoundActionCount; ++k) taken = taken || keys.scancodeOf(static_cast<BoundAction>(k)) == left;
            if (!taken) {
                EXPECT_EQ(keys.keyOf(left), Key::Unknown) << SDL_GetScancodeName(left);
            }
        }
        EXPECT_EQ(keys.keyOf(SDL_SCANCODE_ESCAPE), Key::Escape) << "fixed keys stay";
    }
}

TEST(MouseLook, InvertYTurnsTheCapturedPointersVerticalMotionRound) {
    EdgeSettings inverted;
    inverted.invertY = true;
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.x = 300;
    move.motion.y = 200;
    move.motion.xrel = 4;
    move.motion.yrel = -6;
    int32_t x = 100, y = 100;
    EXPECT_EQ(translate(move, true, x, y)->y, 94);
    x = y = 100;
    const InputEvent turned = *translate(move, true, x, y, inverted);
    EXPECT_EQ(turned.x, 104);
    EXPECT_EQ(turned.y, 106);
    // In the menus the pointer is where it is on the screen.
    EXPECT_EQ(translate(move, false, x, y, inverted)->y, 200);
}

// ---- Focus ----

class PointerLog : public SilentServices {
public:
    int captured = 0;
    int released = 0;
    int questions = 0;
    std::vector<std::pair<uint16_t, bool>> pausedChannels;
    void capturePointer() override { ++captured; }
    void releasePointer() override { ++released; }
    DialogAnswer askYesNo(const std::string&, const std::string&) override {
        ++questions;
        return DialogAnswer::No;
    }
    void setChannelPaused(uint16_t channel, bool paused) override { pausedChannels.emplace_back(channel, paused); }
};

struct PausableGame {
    HeadlessGame game{kSeed};
    PointerLog* log = nullptr;
    PausableGame() {
        auto services = std::make_unique<PointerLog>();
        log = services.get();
        game.useServices(std::move(services));
    }
    std::string frame(const InputEvents& events = {}) {
        game.shell.runFrame(events, kDt);
        return game.shell.traceLine();
    }
    void frames(int n) {
        for (int k = 0; k < n; ++k) frame();
    }
};

TEST(FocusLoss, PlayStandsStillWithThePointerFreeUntilAClickAndTheClockLeavesOutTheTimeAway) {
    PausableGame g;
    GameShell& shell = g.game.shell;
    g.frame({InputEvent::keyDown(Key::W)});
    g.frames(119);  // two seconds of walking
    const int64_t playedBefore = shell.playClock();
    ASSERT_EQ(playedBefore, 2);
    const int capturesBefore = g.log->captured;

    // SDL lets go of the held keys as the focus leaves, then says it left: that frame
    // still plays, so the player is not left walking.
    const std::string atLoss = g.frame({InputEvent::keyUp(Key::W), *edge(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST))});
    EXPECT_TRUE(shell.overlays.paused && shell.overlays.freeze);
    EXPECT_EQ(g.log->released, 1);
    EXPECT_EQ(g.log->pausedChannels.back(), std::make_pair(kGameMusicChannel, true));
    // Five seconds away: keys of play wait (Escape asks nothing, F1 shows nothing), a
    // second loss changes nothing, a right click does not resume; the state stands.
    for (int k = 0; k < 300; ++k) {
        InputEvents events;
        if (k == 10) events = {InputEvent::keyDown(Key::Escape), InputEvent::keyUp(Key::F1), InputEvent::keyDown(Key::W)};
        if (k == 20) events = {InputEvent::focusLost(), InputEvent::buttonUp(MouseButton::Right)};
        ASSERT_EQ(frameState(g.frame(events)), frameState(atLoss)) << "frame " << k << " while away";
    }
    EXPECT_EQ(g.log->questions, 0);
    EXPECT_FALSE(shell.overlays.about);
    EXPECT_EQ(g.log->released, 1);
    EXPECT_EQ(shell.playClock(), playedBefore) << "the play clock stands still";

    // A click comes back: the pointer is taken, the music goes on, and the play clock
    // (the record's time) goes on from where it stopped. The click fires no shot.
    const std::string resumed =
        g.frame({InputEvent::buttonDown(MouseButton::Left), InputEvent::buttonUp(MouseButton::Left)});
    EXPECT_FALSE(shell.overlays.paused || shell.overlays.freeze);
    EXPECT_EQ(g.log->captured, capturesBefore + 1);
    EXPECT_EQ(g.log->pausedChannels.back(), std::make_pair(kGameMusicChannel, false));
    EXPECT_EQ(traced(resumed, "pos"), traced(atLoss, "pos")) << "no key was left held";
    EXPECT_EQ(traced(resumed, "ammo"), traced(atLoss, "ammo"));
    g.frame({InputEvent::keyDown(Key::W)});
    g.frames(59);
    EXPECT_NE(traced(g.frame(), "pos"), traced(atLoss, "pos")) << "play goes on";
    EXPECT_EQ(shell.playClock(), playedBefore + 1);
}

TEST(FocusLoss, MinimisingPausesTooAndTheMenusAndTheMapScreenKeepTheirWays) {
    EXPECT_EQ(edge(windowEvent(SDL_WINDOWEVENT_MINIMIZED))->type, InputType::FocusLost);
    EXPECT_FALSE(edge(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED))) << "coming back is no event: the click is";

    PausableGame g;
    GameShell& shell = g.game.shell;
    shell.startOnFirstFrame = false;
    g.frame({InputEvent::focusLost()});
    EXPECT_EQ(shell.state, MainMenu);
    EXPECT_FALSE(shell.overlays.paused) << "nothing to pause in the menus";
    EXPECT_EQ(g.log->released, 0);

    shell.startFromMenu();
    g.frame({InputEvent::keyUp(Key::M)});  // the map screen: its music, the game's paused
    g.frame({InputEvent::focusLost()});
    EXPECT_TRUE(shell.overlays.paused);
    const size_t atPause = g.log->pausedChannels.size();
    g.frame({InputEvent::buttonUp(MouseButton::Left)});
    EXPECT_FALSE(shell.overlays.paused);
    EXPECT_TRUE(shell.overlays.map && shell.overlays.freeze) << "back to the map screen";
    for (size_t k = atPause; k < g.log->pausedChannels.size(); ++k)
        EXPECT_NE(g.log->pausedChannels[k], std::make_pair(kGameMusicChannel, false))
            << "the game's music stays paused under the map";
    g.frame({InputEvent::keyUp(Key::M)});
    EXPECT_FALSE(shell.overlays.freeze);
}

// ---- A game controller ----

class VirtualPad {
public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Velkaran test pad";
        index = SDL_JoystickAttachVirtualEx(&desc);
        if (index >= 0) joystick = SDL_JoystickOpen(index);
        // A trigger's axis at rest is its lowest value.
        axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
        axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    }
    ~VirtualPad() { unplug(); }
    void unplug() {
        if (joystick) SDL_JoystickClose(joystick);
        joystick = nullptr;
        if (index >= 0) SDL_JoystickDetachVirtual(index);
        index = -1;
    }
    void axis(SDL_GameControllerAxis a, int16_t value) { SDL_JoystickSetVirtualAxis(joystick, a, value); }
    void button(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(joystick, b, down ? 1 : 0); }

    int index = -1;
    SDL_Joystick* joystick = nullptr;
};

class ControllerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pads.start()); }
    void TearDown() override { pads.stop(); }

    // SDL's events since the last call, through the controllers.
    InputEvents pump() {
        SDL_PumpEvents();
        InputEvents out;
        SDL_Event e;
        while (SDL_PollEvent(&e)) pads.handle(e, out);
        return out;
    }
    // One frame of the game with the pad's events and its look, as the game's loop has them.
    std::string frame(HeadlessGame& game) {
        InputEvents events = pump();
        pads.look(game.state == Playing, pointerX, pointerY, events);
        game.shell.runFrame(events, kDt);
        return game.shell.traceLine();
    }

    Controllers pads;
    int32_t pointerX = 0;
    int32_t pointerY = 0;
};

TEST_F(ControllerTest, AVirtualPadPressesAMenuButtonThenWalksRunsLooksFiresAndLetsGoWhenPulledOut) {
    VirtualPad pad;
    ASSERT_GE(pad.index, 0) << SDL_GetError();
    pump();
    ASSERT_EQ(pads.connected(), 1u) << "the pad was announced and opened";

    HeadlessGame game(kSeed);
    game.shell.startOnFirstFrame = false;
    frame(game);
    // The d-pad marks the first button, A presses it: the game starts.
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    frame(game);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    frame(game);
    EXPECT_EQ(game.shell.hoveredButton, StartButton);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    frame(game);
    EXPECT_EQ(game.state, MainMenu) << "a press acts on the release";
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    const std::string start = frame(game);
    ASSERT_EQ(game.state, Playing);

    // The right stick turns the view as the pointer would: a second at full deflection
    // to the right turns it round (towards the fortress), then up and back down.
    const auto before = traced(start, "front");
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    std::string looked;
    for (int k = 0; k < 60; ++k) looked = frame(game);
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
    const auto after = traced(looked, "front");
    const double turned = std::atan2(before[0] * after[2] - before[2] * after[0], before[0] * after[0] + before[2] * after[2]);
    EXPECT_NEAR(std::fabs(turned), 3.14159, 0.3) << looked;
    EXPECT_GT(after[2], 0.9) << "facing +z";
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, -32767);
    for (int k = 0; k < 10; ++k) looked = frame(game);
    EXPECT_GT(traced(looked, "front")[1], after[1] + 0.2) << "pushed up, the view looks up";
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, 32767);
    for (int k = 0; k < 10; ++k) looked = frame(game);
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, 0);
    EXPECT_NEAR(traced(looked, "front")[1], after[1], 0.05) << "and down again";

    // Half a push forward walks the way the player faces; a full push runs.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -16000);
    const InputEvents halfPush = pump();
    ASSERT_EQ(halfPush.size(), 1u);
    EXPECT_EQ(halfPush[0].key, Key::W) << "W alone";
    game.shell.runFrame(halfPush, kDt);
    std::string walked;
    for (int k = 0; k < 60; ++k) walked = frame(game);
    const auto p0 = traced(looked, "pos"), p1 = traced(walked, "pos"), front = traced(looked, "front");
    const double ahead = (p1[0] - p0[0]) * front[0] + (p1[2] - p0[2]) * front[2];
    EXPECT_GT(ahead, 10.0) << walked;
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -32767);
    const InputEvents fullPush = pump();  // W is held already: Shift joins it
    ASSERT_EQ(fullPush.size(), 1u);
    EXPECT_EQ(fullPush[0].type, InputType::KeyDown);
    EXPECT_EQ(fullPush[0].key, Key::LShift);
    game.shell.runFrame(fullPush, kDt);
    std::string ran;
    for (int k = 0; k < 60; ++k) ran = frame(game);
    const auto p2 = traced(ran, "pos");
    const double runAhead = (p2[0] - p1[0]) * front[0] + (p2[2] - p1[2]) * front[2];
    EXPECT_GT(runAhead, 1.5 * ahead) << "running covers more ground";
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    const InputEvents letGo = pump();
    ASSERT_EQ(letGo.size(), 2u);
    EXPECT_EQ(letGo[0].key, Key::LShift) << "Shift comes up first";
    EXPECT_EQ(letGo[1].key, Key::W);
    game.shell.runFrame(letGo, kDt);

    // The right trigger fires.
    const double ammo = traced(frame(game), "ammo")[0];
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    std::string fired;
    for (int k = 0; k < 30; ++k) fired = frame(game);
    EXPECT_LT(traced(fired, "ammo")[0], ammo);

    // Pulled out mid-walk and mid-fire: everything it held comes up.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    frame(game);
    pad.unplug();
    const InputEvents gone = pump();
    EXPECT_EQ(pads.connected(), 0u);
    bool dUp = false, fireUp = false;
    for (const InputEvent& e : gone) {
        dUp = dUp || (e.type == InputType::KeyUp && e.key == Key::D);
        fireUp = fireUp || (e.type == InputType::ButtonUp && e.button == MouseButton::Left);
    }
    EXPECT_TRUE(dUp && fireUp);
    game.shell.runFrame(gone, kDt);
    const std::string still = frame(game);
    EXPECT_EQ(traced(frame(game), "pos"), traced(still, "pos")) << "the player stopped";
}

TEST_F(ControllerTest, TheLookFollowsStickSensitivityAndInvertYOnlyWhileThePointerIsCaptured) {
    VirtualPad pad;
    ASSERT_GE(pad.index, 0) << SDL_GetError();
    pump();
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, 32767);
    pump();
    auto lookOnce = [&](bool captured) {
        InputEvents out;
        pointerX = pointerY = 0;
        pads.look(captured, pointerX, pointerY, out);
        return out;
    };
    EXPECT_TRUE(lookOnce(false).empty()) << "in the menus the stick moves no pointer";
    const InputEvents normal = lookOnce(true);
    ASSERT_FALSE(normal.empty());
    const int32_t x1 = normal.back().x, y1 = normal.back().y;
    EXPECT_GT(x1, 10);
    EXPECT_GT(y1, 10) << "pulled down, the pointer moves down";

    pads.stickSensitivity = 10.0f;
    pads.invertY = true;
    const InputEvents fast = lookOnce(true);
    ASSERT_FALSE(fast.empty());
    EXPECT_NEAR(fast.back().x, 10 * x1, 10);
    EXPECT_NEAR(fast.back().y, -10 * y1, 10);
    // The view takes a pointer jump above 50 pixels for a warp: the turn comes in steps.
    int32_t lastX = 0, lastY = 0;
    for (const InputEvent& e : fast) {
        EXPECT_LE(std::hypot(e.x - lastX, e.y - lastY), 50.0);
        lastX = e.x;
        lastY = e.y;
    }
}

}  // namespace
