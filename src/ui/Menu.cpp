// The menu handler: the frame's events in the menu screens and the global keys of
// play, the game start and the return to the menu, the map screen toggle.
#include <ctime>

#include "app/Game.h"
#include "app/InputManager.h"
#include "audio/AudioManager.h"
#include "render/Renderer.h"
#include "util/Random.h"
#include "world/MapScreen.h"

using enum GameState;

namespace {

constexpr float kMenuMusicVolume = 3.0f;
constexpr float kPauseMusicVolume = 0.5f;
constexpr float kHiddenIndicatorY = 21.0f;

bool isMenuScreen(GameState state) { return state == MainMenu || state == About || state == Credits; }

// Acts on a left click in a menu screen. Returns false when the rest of the frame's
// events must not be handled.
bool clickHoveredButton(Game& game) {
    if (game.hoveredButton == NoButton) return true;
    AudioManager::instance().playOneShot("ButtonClicked");
    switch (game.hoveredButton) {
        case StartButton:
            game.startFromMenu();
            break;
        case NewMapButton:
            // Only an explicit Yes gives up the current fortress.
            if (game.confirmDialog->askYesNo(kNewMapCaption, newMapQuestion(game.fortress.mapName)) !=
                DialogAnswer::Yes)
                return false;
            game.fortress.createNewFortress();
            game.gameState = Quit;  // the new fortress is built at the next launch
            break;
        case AboutButton:
            game.gameState = About;
            game.hideIndicator();
            break;
        case CreditsButton:
            game.gameState = Credits;
            game.hideIndicator();
            break;
        case QuitButton:
            game.gameState = Quit;
            break;
        case BackButton:
            game.gameState = MainMenu;
            game.hideIndicator();
            break;
        case HomePageButton:
            game.webPageOpener->open(kHomePageUrl);
            break;
        case GamePageButton:
            game.webPageOpener->open(kGamePageUrl);
            break;
        default:
            break;
    }
    return true;
}

}  // namespace

void Game::buildButtonAreas() {
    const Renderer& renderer = Renderer::instance();
    buttonAreas = makeButtonAreas(renderer.width, renderer.height);
}

void Game::handleMenuInput(const InputEvents& events) {
    for (const InputEvent& event : events) {
        switch (event.type) {
            case InputType::Quit:
                gameState = Quit;
                break;
            case InputType::KeyDown:
                if (event.key == Key::Escape && gameState == Playing && !mapShown) {
                    releaseMouse();
                    if (confirmDialog->askYesNo(kQuitGameCaption, quitGameQuestion()) != DialogAnswer::No)
                        returnToMenu();
                    else
                        captureMouse();
                }
                break;
            case InputType::KeyUp:
                if (gameState != Playing) break;
                switch (event.key) {
                    case Key::F1:
                        aboutShown = !aboutShown;
                        overlayFreeze = aboutShown || mapShown;
                        break;
                    case Key::M:
                        toggleMapScreen();
                        break;
                    case Key::N:
                        useScanner();
                        break;
                    case Key::F8:
                        statsShown = !statsShown;
                        break;
                    case Key::F12:
                        takeScreenshot();
                        break;
                    default:
                        break;
                }
                break;
            case InputType::MouseMotion: {
                readPointer(mouseX, mouseY);
                bool anyHit = false;
                for (const ButtonArea& area : buttonAreas) {
                    if (area.screen != gameState || !area.contains(mouseX, mouseY)) continue;
                    anyHit = true;
                    if (area.buttonId == hoveredButton) continue;
                    hoveredButton = area.buttonId;
                    AudioManager::instance().playOneShot("ButtonHovered");
                    moveIndicator(area.indicatorX, area.indicatorY);
                }
                if (!anyHit) {
                    hoveredButton = NoButton;
                    hideIndicator();
                }
                break;
            }
            case InputType::ButtonUp:
                if (event.button != MouseButton::Left || !isMenuScreen(gameState)) break;
                // A click keeps hoveredButton: it changes only on the next mouse motion.
                if (!clickHoveredButton(*this)) return;
                break;
            default:
                break;
        }
    }
}

void Game::menuFrame() {
    InputManager::instance().clear();
    AudioManager& audio = AudioManager::instance();
    audio.playOnChannel("MainMenu_music", kMenuMusicChannel, kMenuMusicVolume);
    audio.stopChannel(kGameMusicChannel);
    audio.update();
}

void Game::initialiseAudio() {
    AudioManager& audio = AudioManager::instance();
    audio.initialize();
    audio.loadSoundTable();
    loadedSoundTable = true;
}

void Game::hideIndicator() { moveIndicator(0.0f, kHiddenIndicatorY); }

void Game::returnToMenu() {
    releaseMouse();
    session->deathTimer = 0.0f;
    AudioManager::instance().stopChannel(kGameMusicChannel);
    gameState = MainMenu;
}

void Game::toggleMapScreen() {
    AudioManager& audio = AudioManager::instance();
    audio.playOneShot("ButtonClicked");
    const bool wasShown = mapShown;
    mapShown = !mapShown;
    overlayFreeze = aboutShown || mapShown;
    if (!wasShown) {
        audio.setChannelPaused(kGameMusicChannel, true);
        audio.playOnChannel("PauseGame_music", kPauseMusicChannel, kPauseMusicVolume);
    } else {
        audio.setChannelPaused(kGameMusicChannel, false);
    }
    // Paused rather than stopped: the pause music goes on where it left off next time.
    audio.setChannelPaused(kPauseMusicChannel, wasShown);
    audio.update();
}

void Game::startFromMenu() {
    gameState = Playing;
    startGame();
    captureMouse();
}

void Game::startGame() {
    if (!firstStart) {
        captureMouse();
        drawLoadingFrame();  // shows while the world is reset
    }
    AudioManager& audio = AudioManager::instance();
    audio.stopChannel(kGameMusicChannel);

    fpsTimer = 0.0f;
    fpsFrames = 0;
    aboutShown = false;
    overlayFreeze = false;
    mapShown = false;

    fortress.playStartTime = now();
    audio.stopChannel(kMenuMusicChannel);

    // The world is still fresh from start-up for the first game; later ones start from
    // the furnished grid again (play changes it) with the lights of start-up.
    session->startGame(firstStart);
    if (!firstStart) lastFrameTicks = static_cast<float>(SDL_GetTicks());
    firstStart = false;
}

void Game::useScanner() { session->useScanner(*services); }


