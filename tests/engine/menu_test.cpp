// The menu handler driven with synthetic event lists: hit areas, hover and click
// sounds, the confirmations (answered by the test), the game start, the in-game keys.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <ctime>
#include <deque>
#include <fstream>
#include <memory>
#include <sstream>

#include "TestSounds.h"
#include "app/Game.h"
#include "app/InputManager.h"
#include "audio/AudioManager.h"

using enum GameState;

namespace {

using testsounds::TempDir;

InputEvents translated(const std::vector<SDL_Event>& events) {
    InputEvents out;
    int32_t x = 0, y = 0;
    for (const SDL_Event& e : events)
        if (auto t = translate(e, false, x, y)) out.push_back(*t);
    return out;
}

TEST(ButtonAreas, PercentagesBecomePixelsInSinglePrecision) {
    const auto small = makeButtonAreas(1000, 800);
    ASSERT_EQ(small.size(), 10u);
    EXPECT_EQ(small[0].buttonId, StartButton);
    EXPECT_EQ(small[0].pixelRect, (PixelRect{340, 296, 660, 368}));

    const auto wide = makeButtonAreas(1920, 1080);
    EXPECT_EQ(wide[5].buttonId, HomePageButton);
    EXPECT_EQ(wide[5].pixelRect.left, 1631) << "85 x (1920 x 0.01f) truncates below 1632";
}

TEST(ButtonAreas, BothEdgesAreInside) {
    const ButtonArea start = makeButtonAreas(1000, 800)[0];
    struct Case {
        int x, y;
        bool inside;
    };
    for (const Case& c : {Case{340, 296, true}, Case{660, 368, true}, Case{500, 300, true}, Case{339, 300, false},
                          Case{661, 300, false}, Case{500, 295, false}, Case{500, 369, false}}) {
        EXPECT_EQ(start.contains(c.x, c.y), c.inside) << c.x << "," << c.y;
    }
}

TEST(DialogTexts, AreConvertedFromWindows1252ForSdl) {
    EXPECT_EQ(windows1252ToUtf8("\xBF Quieres"), "\xC2\xBF Quieres");
    EXPECT_EQ(windows1252ToUtf8("men\xFA \x80 \x81"), "men\xC3\xBA \xE2\x82\xAC \xC2\x81");
    EXPECT_EQ(windows1252ToUtf8(quitGameQuestion()),
              "\xC2\xBF Quieres abandonar esta partida y volver al men\xC3\xBA principal ?");
}

struct FakeDialog : ConfirmDialog {
    DialogAnswer answer = DialogAnswer::Yes;
    std::vector<std::pair<std::string, std::string>> asked;
    DialogAnswer askYesNo(const std::string& caption, const std::string& text) override {
        asked.emplace_back(caption, text);
        return answer;
    }
};

struct FakeBrowser : WebPageOpener {
    std::vector<std::string> opened;
    void open(const std::string& url) override { opened.push_back(url); }
};

class MenuTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        AudioManager& audio = AudioManager::instance();
        ASSERT_TRUE(audio.initialize());
        // Long sounds, so that every one started during a test is still playing at its end.
        soundDir = new TempDir;
        const auto wav = soundDir->path / "long.wav";
        testsounds::writeWav(wav, 10 * testsounds::deviceRate(), [](int i) { return static_cast<int16_t>(i % 100); });
        ASSERT_TRUE(audio.loadSound(wav, "ButtonHovered", false, 0));
        ASSERT_TRUE(audio.loadSound(wav, "ButtonClicked", false, 0));
        ASSERT_TRUE(audio.loadSound(wav, "MainMenu_music", true, kMenuMusicChannel));
        ASSERT_TRUE(audio.loadSound(wav, "InGame_music", true, kGameMusicChannel));
        ASSERT_TRUE(audio.loadSound(wav, "PauseGame_music", true, kPauseMusicChannel));
    }
    static void TearDownTestSuite() {
        AudioManager::instance().releaseSounds();
        delete soundDir;
    }

    void SetUp() override {
        Mix_HaltChannel(-1);
        game = std::make_unique<Game>();
        game->shell.buttonAreas = makeButtonAreas(1000, 800);
        auto d = std::make_unique<FakeDialog>();
        dialog = d.get();
        game->confirmDialog = std::move(d);
        auto b = std::make_unique<FakeBrowser>();
        browser = b.get();
        game->webPageOpener = std::move(b);
        game->readPointer = [this](int32_t& x, int32_t& y) {
            x = pointerX;
            y = pointerY;
        };
        game->shell.fortress.settingsPath = settingsDir.path / "Settings.ini";
    }
    void TearDown() override { Mix_HaltChannel(-1); }

    // Mouse motion to the middle of a button of the current screen, or to a point.
    SDL_Event motionTo(int x, int y) {
        pointerX = x;
        pointerY = y;
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        return e;
    }
    SDL_Event motionOnto(int32_t button) {
        for (const ButtonArea& a : game->shell.buttonAreas)
            if (a.screen == game->shell.state && a.buttonId == button)
                return motionTo((a.pixelRect.left + a.pixelRect.right) / 2, (a.pixelRect.top + a.pixelRect.bottom) / 2);
        ADD_FAILURE() << "no button " << button << " on screen " << static_cast<int32_t>(game->shell.state);
        return SDL_Event{};
    }
    static SDL_Event button(Uint32 type, Uint8 which) {
        SDL_Event e{};
        e.type = type;
        e.button.button = which;
        return e;
    }
    static SDL_Event leftUp() { return button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT); }
    // The game reads keys by their position: the scancode, not the symbol.
    static SDL_Event key(Uint32 type, SDL_Scancode code) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.scancode = code;
        return e;
    }
    static SDL_Event quitEvent() {
        SDL_Event e{};
        e.type = SDL_QUIT;
        return e;
    }
    // The events as the game's edge hands them on: translated from SDL's.
    void handle(std::vector<SDL_Event> events) { game->shell.handleEvents(translated(events)); }
    void clickOn(int32_t b) { handle({motionOnto(b), leftUp()}); }

    // One-shots of this sound that are playing now.
    static int playing(const char* name) {
        Mix_Chunk* chunk = AudioManager::instance().sound(name)->chunk;
        int n = 0;
        for (int c = kNumberedChannels; c < kMixerChannels; ++c) n += Mix_Playing(c) && Mix_GetChunk(c) == chunk;
        return n;
    }

    static TempDir* soundDir;
    TempDir settingsDir;
    std::unique_ptr<Game> game;
    FakeDialog* dialog = nullptr;
    FakeBrowser* browser = nullptr;
    int pointerX = 0, pointerY = 0;
};

TempDir* MenuTest::soundDir = nullptr;

TEST_F(MenuTest, HoverPlaysTheSoundOncePerNewlyHoveredButton) {
    struct Step {
        const char* what;
        int x, y;
        int32_t hovered;
        int sounds;
    };
    // Button 1 is 340..660 x 296..368, button 2 is 340..610 x 400..464 on 1000 x 800.
    const Step steps[] = {
        {"onto button 1", 500, 330, StartButton, 1},
        {"within button 1", 600, 360, StartButton, 1},
        {"straight onto button 2", 400, 420, NewMapButton, 2},
        {"into the gap", 400, 380, NoButton, 2},
        {"back onto button 2", 400, 420, NewMapButton, 3},
        {"off every button", 10, 10, NoButton, 3},
    };
    for (const Step& s : steps) {
        handle({motionTo(s.x, s.y)});
        EXPECT_EQ(game->shell.hoveredButton, s.hovered) << s.what;
        EXPECT_EQ(playing("ButtonHovered"), s.sounds) << s.what;
        EXPECT_EQ(game->shell.mouseX, s.x);
        EXPECT_EQ(game->shell.mouseY, s.y);
    }
    // Areas of other screens are not live: the about screen's back button lies at 40..170 x 712..776.
    handle({motionTo(100, 740)});
    EXPECT_EQ(game->shell.hoveredButton, NoButton);
    EXPECT_EQ(playing("ButtonClicked"), 0);
}

TEST_F(MenuTest, TheKeyboardStepsTheMarkerThroughTheScreensButtonsAndPressesTheMarkedOne) {
    const auto press = [this](SDL_Scancode k) { handle({key(SDL_KEYDOWN, k), key(SDL_KEYUP, k)}); };
    const auto markerAt = [this](int32_t button) {
        for (const ButtonArea& a : game->shell.buttonAreas)
            if (a.screen == game->shell.state && a.buttonId == button)
                return game->shell.indicatorX == a.indicatorX && game->shell.indicatorY == a.indicatorY;
        return false;
    };
    struct Step {
        SDL_Scancode key;
        int32_t marked;
    } steps[] = {
        {SDL_SCANCODE_DOWN, StartButton},   {SDL_SCANCODE_TAB, NewMapButton}, {SDL_SCANCODE_DOWN, AboutButton},
        {SDL_SCANCODE_UP, NewMapButton},    {SDL_SCANCODE_UP, StartButton},   {SDL_SCANCODE_UP, HomePageButton},
        {SDL_SCANCODE_DOWN, StartButton},
    };
    int sounds = 0;
    for (const Step& step : steps) {
        handle({key(SDL_KEYDOWN, step.key)});
        EXPECT_EQ(game->shell.hoveredButton, step.marked) << SDL_GetScancodeName(step.key);
        EXPECT_TRUE(markerAt(step.marked)) << step.marked;
        EXPECT_EQ(playing("ButtonHovered"), ++sounds);
    }
    EXPECT_EQ(game->shell.state, MainMenu) << "moving the marker presses nothing";

    // A press is the key's release, after its press in the menu: a release alone (a key
    // held when a game ended) presses nothing.
    handle({key(SDL_KEYUP, SDL_SCANCODE_RETURN), key(SDL_KEYUP, SDL_SCANCODE_SPACE)});
    EXPECT_EQ(game->shell.state, MainMenu);
    EXPECT_EQ(playing("ButtonClicked"), 0);

    // The new map's question, answered No, then the about screen by the keypad's Enter.
    dialog->answer = DialogAnswer::No;
    handle({key(SDL_KEYDOWN, SDL_SCANCODE_DOWN)});
    press(SDL_SCANCODE_SPACE);
    EXPECT_EQ(dialog->asked.size(), 1u);
    EXPECT_EQ(game->shell.state, MainMenu);
    handle({key(SDL_KEYDOWN, SDL_SCANCODE_DOWN)});
    press(SDL_SCANCODE_KP_ENTER);
    EXPECT_EQ(game->shell.state, About);
    EXPECT_EQ(playing("ButtonClicked"), 2);

    // On the about screen the marker starts afresh among its own buttons; Escape goes back.
    press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(game->shell.state, About) << "no button of this screen is marked";
    handle({key(SDL_KEYDOWN, SDL_SCANCODE_DOWN), key(SDL_KEYDOWN, SDL_SCANCODE_DOWN)});
    EXPECT_EQ(game->shell.hoveredButton, GamePageButton);
    press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(browser->opened, std::vector<std::string>{kGamePageUrl});
    press(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(game->shell.state, MainMenu);
    EXPECT_EQ(playing("ButtonClicked"), 4);
    clickOn(CreditsButton);
    press(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(game->shell.state, MainMenu);
    press(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(game->shell.state, MainMenu) << "Escape in the main menu neither quits nor asks";

    // The mouse moved off the buttons takes the mark away: Enter then presses nothing.
    handle({key(SDL_KEYDOWN, SDL_SCANCODE_UP), motionTo(10, 10)});
    press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(game->shell.state, MainMenu);
    EXPECT_EQ(dialog->asked.size(), 1u);

    // Space pressed in the menu, a game started by a click meanwhile: back in the menu
    // with the start button marked, its release presses nothing.
    handle({key(SDL_KEYDOWN, SDL_SCANCODE_SPACE)});
    clickOn(StartButton);
    ASSERT_EQ(game->shell.state, Playing);
    game->shell.returnToMenu();
    handle({key(SDL_KEYUP, SDL_SCANCODE_SPACE)});
    EXPECT_EQ(game->shell.state, MainMenu);
}

TEST_F(MenuTest, AClickOnlyCountsWithTheLeftButtonOverAButtonOfAMenuScreen) {
    handle({leftUp()});
    EXPECT_EQ(game->shell.state, MainMenu);

    handle({motionOnto(QuitButton), button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT),
            button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT)});
    EXPECT_EQ(game->shell.state, MainMenu);
    EXPECT_EQ(playing("ButtonClicked"), 0);

    game->shell.state = Playing;  // a release while playing is not a menu click
    handle({leftUp()});
    EXPECT_EQ(game->shell.state, Playing);
    EXPECT_EQ(playing("ButtonClicked"), 0);
    EXPECT_TRUE(dialog->asked.empty());
}

TEST_F(MenuTest, ScreensFollowTheButtonsAndTheStaleHoveredButtonActsOnTheAboutScreen) {
    clickOn(AboutButton);
    EXPECT_EQ(game->shell.state, About);
    EXPECT_EQ(playing("ButtonClicked"), 1);

    // No motion since: button 3 still counts as hovered, so the about screen shows again.
    handle({leftUp()});
    EXPECT_EQ(game->shell.state, About);
    EXPECT_EQ(game->shell.hoveredButton, AboutButton);
    EXPECT_EQ(playing("ButtonClicked"), 2);

    clickOn(BackButton);
    EXPECT_EQ(game->shell.state, MainMenu);
    clickOn(CreditsButton);
    EXPECT_EQ(game->shell.state, Credits);
    clickOn(BackButton);
    EXPECT_EQ(game->shell.state, MainMenu);
    clickOn(QuitButton);
    EXPECT_EQ(game->shell.state, Quit);
    EXPECT_TRUE(dialog->asked.empty());
    EXPECT_TRUE(browser->opened.empty());
}

TEST_F(MenuTest, WebButtonsOpenTheirPagesAndStay) {
    clickOn(HomePageButton);
    clickOn(AboutButton);
    clickOn(GamePageButton);
    EXPECT_EQ(game->shell.state, About);
    EXPECT_EQ(browser->opened, (std::vector<std::string>{kHomePageUrl, kGamePageUrl}));
}

TEST_F(MenuTest, NewMapConfirmedSavesANewFortressAndQuits) {
    game->shell.fortress.mapName = "Oberon";
    game->shell.fortress.mapSeed = 1234;
    dialog->answer = DialogAnswer::Yes;
    clickOn(NewMapButton);

    ASSERT_EQ(dialog->asked.size(), 1u);
    EXPECT_EQ(dialog->asked[0].first, "Generar nuevo mapa");
    EXPECT_EQ(dialog->asked[0].second,
              "\xBF Quieres eliminar el mapa del nivel actual llamado 'Oberon' y generar uno nuevo ?\n\nSi seleccionas "
              "'Si' la aplicaci\xF3n se cerrar\xE1 y podr\xE1s disfrutar del nuevo nivel la pr\xF3xima vez que "
              "inicies el juego.");
    EXPECT_EQ(game->shell.state, Quit);
    EXPECT_NE(game->shell.fortress.mapName, "Oberon");

    FortressIdentity stored;
    stored.settingsPath = game->shell.fortress.settingsPath;
    ASSERT_TRUE(stored.loadPreferences());
    EXPECT_EQ(stored.mapName, game->shell.fortress.mapName);
    EXPECT_EQ(stored.mapSeed, game->shell.fortress.mapSeed);
}

// A box that could not be shown or was closed without an answer is no consent either.
TEST_F(MenuTest, NewMapNotConfirmedKeepsEverythingAndDropsTheRestOfTheFrame) {
    for (DialogAnswer answer : {DialogAnswer::No, DialogAnswer::None}) {
        SCOPED_TRACE(static_cast<int>(answer));
        game->shell.fortress.mapName = "Oberon";
        game->shell.fortress.mapSeed = 1234;
        handle({motionOnto(NewMapButton)});
        dialog->asked.clear();
        dialog->answer = answer;
        handle({leftUp(), quitEvent(), motionTo(10, 10)});

        EXPECT_EQ(dialog->asked.size(), 1u);
        EXPECT_EQ(game->shell.state, MainMenu) << "the quit event after the answer was handled";
        EXPECT_EQ(game->shell.hoveredButton, NewMapButton) << "the motion after the answer was handled";
        EXPECT_EQ(game->shell.fortress.mapName, "Oberon");
        EXPECT_FALSE(std::filesystem::exists(game->shell.fortress.settingsPath));
    }
}

TEST_F(MenuTest, EscapeWhilePlayingAsksBeforeReturningToTheMenu) {
    struct Case {
        bool mapShown;
        DialogAnswer answer;
        bool asked;
        GameState state;
    };
    // Anything but No leaves the game: a box that cannot be shown must not trap the player.
    for (const Case& c : {Case{false, DialogAnswer::Yes, true, MainMenu}, Case{false, DialogAnswer::No, true, Playing},
                          Case{false, DialogAnswer::None, true, MainMenu}, Case{true, DialogAnswer::Yes, false, Playing}}) {
        SCOPED_TRACE(testing::Message() << "map " << c.mapShown << " answer " << static_cast<int>(c.answer));
        game->shell.state = Playing;
        game->shell.overlays.map = c.mapShown;
        game->shell.session->deathTimer = 3.0f;
        dialog->asked.clear();
        dialog->answer = c.answer;
        AudioManager::instance().playOnChannel("InGame_music", kGameMusicChannel, 1.0f);
        handle({key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE), key(SDL_KEYUP, SDL_SCANCODE_ESCAPE)});

        EXPECT_EQ(game->shell.state, c.state);
        ASSERT_EQ(dialog->asked.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(dialog->asked[0].first, "Cancelar partida");
            EXPECT_EQ(dialog->asked[0].second, "\xBF Quieres abandonar esta partida y volver al men\xFA principal ?");
        }
        const bool left = c.state == MainMenu;
        EXPECT_EQ(AudioManager::instance().isChannelPlaying(kGameMusicChannel), !left);
        EXPECT_FLOAT_EQ(game->shell.session->deathTimer, left ? 0.0f : 3.0f);
    }
    // Escape in a menu screen asks nothing.
    dialog->asked.clear();
    game->shell.state = MainMenu;
    handle({key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE)});
    EXPECT_TRUE(dialog->asked.empty());
}

TEST_F(MenuTest, StartingAGameResetsThePerGameStateAndEntersPlay) {
    AudioManager& audio = AudioManager::instance();
    const int64_t before = std::time(nullptr);
    game->shell.runFrame({}, 1.0f / 60.0f);  // a menu frame: its music, and the clock read for the frame
    ASSERT_TRUE(audio.isChannelPlaying(kMenuMusicChannel));
    game->shell.overlays = {true, true, true, false};
    game->fpsFrames = 17;
    game->shell.session->messageTimer = 2.0f;

    clickOn(StartButton);
    EXPECT_EQ(game->shell.state, Playing);
    EXPECT_FALSE(game->shell.firstStart);
    EXPECT_FALSE(game->shell.overlays.about || game->shell.overlays.map || game->shell.overlays.freeze);
    EXPECT_EQ(game->fpsFrames, 0);
    EXPECT_FLOAT_EQ(game->shell.session->messageTimer, 0.0f);
    EXPECT_GE(game->shell.fortress.playStartTime, before);
    EXPECT_LE(game->shell.fortress.playStartTime, std::time(nullptr));
    EXPECT_FALSE(audio.isChannelPlaying(kMenuMusicChannel));

    // A later start comes back from the menu; its first frame measures from the start.
    game->shell.returnToMenu();
    EXPECT_EQ(game->shell.state, MainMenu);
    game->lastFrameTicks = 0.0f;
    SDL_Delay(20);
    clickOn(StartButton);
    EXPECT_EQ(game->shell.state, Playing);
    EXPECT_GE(game->lastFrameTicks, 20.0f);
}

TEST_F(MenuTest, InGameKeysActOnlyWhilePlaying) {
    const SDL_Scancode keys[] = {SDL_SCANCODE_F1, SDL_SCANCODE_M, SDL_SCANCODE_N, SDL_SCANCODE_F8, SDL_SCANCODE_F12};
    for (SDL_Scancode k : keys) handle({key(SDL_KEYUP, k)});
    const Overlays& o = game->shell.overlays;
    EXPECT_FALSE(o.about || o.map || o.freeze || o.stats);

    game->shell.state = Playing;
    handle({key(SDL_KEYDOWN, SDL_SCANCODE_F8)});
    EXPECT_FALSE(game->shell.overlays.stats) << "keys act on release";
    handle({key(SDL_KEYUP, SDL_SCANCODE_F8)});
    EXPECT_TRUE(game->shell.overlays.stats);

    // About picture and map screen together: frozen until both are off.
    handle({key(SDL_KEYUP, SDL_SCANCODE_F1)});
    EXPECT_TRUE(game->shell.overlays.about && game->shell.overlays.freeze);
    handle({key(SDL_KEYUP, SDL_SCANCODE_M)});
    EXPECT_TRUE(game->shell.overlays.map && game->shell.overlays.freeze);
    handle({key(SDL_KEYUP, SDL_SCANCODE_F1)});
    EXPECT_TRUE(game->shell.overlays.freeze);
    handle({key(SDL_KEYUP, SDL_SCANCODE_M)});
    EXPECT_FALSE(o.freeze || o.map || o.about);
}

TEST_F(MenuTest, TheMapScreenPausesTheGameMusicAndKeepsThePauseMusicsPlace) {
    AudioManager& audio = AudioManager::instance();
    game->shell.state = Playing;
    audio.playOnChannel("InGame_music", kGameMusicChannel, 1.0f);

    handle({key(SDL_KEYUP, SDL_SCANCODE_M)});
    EXPECT_TRUE(Mix_Paused(kGameMusicChannel));
    EXPECT_TRUE(audio.isChannelPlaying(kPauseMusicChannel));
    EXPECT_FALSE(Mix_Paused(kPauseMusicChannel));
    EXPECT_EQ(Mix_Volume(kPauseMusicChannel, -1), 64);
    EXPECT_EQ(playing("ButtonClicked"), 1);

    handle({key(SDL_KEYUP, SDL_SCANCODE_M)});
    EXPECT_FALSE(Mix_Paused(kGameMusicChannel));
    EXPECT_TRUE(Mix_Paused(kPauseMusicChannel)) << "paused, not stopped";
    EXPECT_TRUE(audio.isChannelPlaying(kPauseMusicChannel));

    handle({key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE)});
    EXPECT_EQ(dialog->asked.size(), 1u) << "Escape works again once the map is closed";
}

TEST_F(MenuTest, TheMenuFrameKeepsTheMenuMusicGoing) {
    AudioManager& audio = AudioManager::instance();
    audio.playOnChannel("InGame_music", kGameMusicChannel, 1.0f);
    game->shell.menuFrame();
    EXPECT_TRUE(audio.isChannelPlaying(kMenuMusicChannel));
    EXPECT_EQ(Mix_Volume(kMenuMusicChannel, -1), MIX_MAX_VOLUME) << "volume 3 amplifies beyond full volume";
    EXPECT_FALSE(audio.isChannelPlaying(kGameMusicChannel));
}

TEST_F(MenuTest, TheWindowsQuitEventEndsEveryState) {
    for (GameState state : {MainMenu, Playing, About, Credits}) {
        game->shell.state = state;
        handle({quitEvent()});
        EXPECT_EQ(game->shell.state, Quit) << static_cast<int32_t>(state);
    }
}

// Runs in a child process: the audio device cannot be opened there.
[[noreturn]] void playTheMenusWithoutAudio() {
    setenv("SDL_AUDIODRIVER", "velkaran-no-such-driver", 1);
    testing::internal::CaptureStdout();
    AudioManager::instance().initialize();
    AudioManager::instance().loadSoundTable();
    const std::string out = testing::internal::GetCapturedStdout();
    auto game = std::make_unique<Game>();
    game->shell.buttonAreas = makeButtonAreas(1000, 800);
    game->confirmDialog = std::make_unique<FakeDialog>();  // answers Yes
    game->webPageOpener = std::make_unique<FakeBrowser>();
    const auto click = [&](int x, int y) {
        SDL_Event events[2]{};
        events[0].type = SDL_MOUSEMOTION;
        events[1].type = SDL_MOUSEBUTTONUP;
        events[1].button.button = SDL_BUTTON_LEFT;
        game->readPointer = [x, y](int32_t& px, int32_t& py) {
            px = x;
            py = y;
        };
        game->shell.handleEvents(translated({events[0], events[1]}));
        game->shell.menuFrame();
    };
    std::string trail;
    click(500, 530);  // about
    trail += std::to_string(static_cast<int32_t>(game->shell.state)) + " ";
    click(100, 740);  // back
    click(500, 620);  // credits
    trail += std::to_string(static_cast<int32_t>(game->shell.state)) + " ";
    click(100, 740);  // back
    click(500, 330);  // start
    trail += std::to_string(static_cast<int32_t>(game->shell.state)) + " ";
    SDL_Event m{};
    m.type = SDL_KEYUP;
    m.key.keysym.scancode = SDL_SCANCODE_M;
    SDL_Event esc{};
    esc.type = SDL_KEYDOWN;
    esc.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    game->shell.handleEvents(translated({m, m, esc}));  // map screen on and off, then leave the game
    trail += std::to_string(static_cast<int32_t>(game->shell.state)) + " ";
    click(400, 720);  // quit
    trail += std::to_string(static_cast<int32_t>(game->shell.state));
    std::fprintf(stderr, "[%s] %s\n", out.c_str(), trail.c_str());
    std::exit(out == "FMOD ERROR: Unable to initialize FMOD library" && trail == "102 103 101 100 104" ? 0 : 1);
}

TEST(MenuWithoutAudio, EveryMenuPathWorksSilently) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(playTheMenusWithoutAudio(), testing::ExitedWithCode(0), "");
}

}  // namespace
