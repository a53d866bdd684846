#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <pwd.h>
#include <unistd.h>

#include "app/Game.h"
#include "app/InputManager.h"
#include "audio/AudioManager.h"
#include "util/Paths.h"
#include "world/PlayerOptions.h"

#ifndef VELKARAN_VERSION
#define VELKARAN_VERSION "unknown"
#endif
// Where the installed data tree lies, relative to the installed executable's folder.
#ifndef VELKARAN_INSTALLED_DATA
#define VELKARAN_INSTALLED_DATA "../share/velkaran"
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "Usage: velkaran [OPTION]...\n"
    "Escape from a fortress built from a seed: a first-person action and exploration game.\n"
    "\n"
    "Without options the game opens its window on the main menu. Every game played is\n"
    "recorded as a replay (see Files).\n"
    "\n"
    "  --replay FILE     watch the recorded game of FILE again, then the main menu;\n"
    "                    Escape ends it at once\n"
    "  --record FILE     record the run's first game into FILE (later ones as usual)\n"
    "\n"
    "The other options are test aids: they replay scripted input with a fixed frame time\n"
    "and trace the game's state.\n"
    "\n"
    "  --script FILE     play the input events of FILE ('-': standard input) instead of\n"
    "                    the keyboard and mouse, one a line: FRAME EVENT ARGS; a game\n"
    "                    starts on the first frame and the Escape question is answered No\n"
    "  --dt S            the fixed frame time in seconds (above 0, at most 1)\n"
    "  --trace FILE      write the game's state to FILE as one JSON line a traced frame\n"
    "  --trace-every K   trace every K-th frame and the last one (default 1; 0: the last only)\n"
    "  --frames N        quit with status 0 after N frames\n"
    "  --fast-forward N  play the first N frames without drawing them (the trace is the same)\n"
    "  --reference-drawing  draw every triangle and instance with the full shaders, as the\n"
    "                    picture tests' reference (slower; the game is the same)\n"
    "  --profile         print the playing frame's time by pass at exit\n"
    "  -h, --help        show this help and exit\n"
    "      --version     show the version and exit\n"
    "\n"
    "Files: an installed game keeps its settings (fortress, record, window and player\n"
    "options) in $XDG_CONFIG_HOME/velkaran/Settings.ini (~/.config/velkaran/) and its\n"
    "screenshots and replays in $XDG_DATA_HOME/velkaran/Screenshots/ and Replays/\n"
    "(~/.local/share/velkaran/); a game run from its build tree keeps them all in the\n"
    "tree's Data/ folder. Replays/ keeps the newest 50 games, named by date, time and fortress.\n"
    "\n"
    "Exit status: 0 when the game ends normally, 1 when no window or OpenGL context could\n"
    "be made, 2 for a bad option, script line or replay file.\n";

int printInformation(const char* what) {
    if (std::strcmp(what, "help") == 0) std::fputs(kUsage, stdout);
    else std::fputs("velkaran " VELKARAN_VERSION "\n", stdout);
    // A full disk or a closed pipe is a failure, not a help text shown.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "velkaran: write error: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

// The environment, with the password database standing in for an unset HOME.
const char* lookUp(const char* name) {
    const char* value = std::getenv(name);
    if ((!value || !*value) && std::strcmp(name, "HOME") == 0) {
        if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir)
            return entry->pw_dir;
    }
    return value;
}

// Chooses this run's data tree and player's files from where the executable is, and
// moves to the working directory the game's "../Data/" paths need. Says nothing
// unless something is wrong.
void settleFiles(const char* argv0) {
    std::vector<fs::path> candidates;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    // The path the game was started through comes first, unresolved, so that a link to
    // the game inside another tree's bin/ uses that tree; it must be this very program.
    const fs::path invoked = invokedExecutable(argv0 ? argv0 : "", lookUp);
    if (!invoked.empty() && (self.empty() || fs::equivalent(invoked, self, ec))) candidates.push_back(invoked);
    if (!self.empty()) candidates.push_back(self);

    std::string problem;
    const auto files = locateGameFiles(candidates, VELKARAN_INSTALLED_DATA, lookUp, problem);
    if (!files) {
        // Left where it was started: "../Data/" may still be there, as it always had to be.
        const fs::path where = candidates.empty() ? fs::path(argv0 ? argv0 : "velkaran") : candidates.back();
        std::fprintf(stderr, "velkaran: no data tree beside %s (looked for ../Data and %s/Data)\n",
                     where.parent_path().c_str(), VELKARAN_INSTALLED_DATA);
        return;
    }
    if (!problem.empty()) std::fprintf(stderr, "velkaran: %s\n", problem.c_str());
    fs::current_path(files->workingDirectory, ec);
    if (ec)
        std::fprintf(stderr, "velkaran: cannot enter the data tree %s: %s\n", files->workingDirectory.c_str(),
                     ec.message().c_str());
    useGameFiles(*files);
}

// The keyboard's, the mouse's and the controllers' lines of the settings file. A key
// line that cannot be used is one line on standard error; the others are quiet.
void applyInputOptions(const PlayerOptions& options, float lookScale) {
    InputManager& input = InputManager::instance();
    std::vector<std::string> complaints;
    input.settings.keys.rebind(options.keyBindings, complaints);
    for (const std::string& complaint : complaints) std::fprintf(stderr, "velkaran: %s\n", complaint.c_str());
    input.settings.invertY = options.invertY;
    input.controllers.invertY = options.invertY;
    input.controllers.stickSensitivity = options.stickSensitivity.value_or(1.0f);
    input.controllers.lookScale = lookScale;
}

}  // namespace

int main(int argc, char** argv) {
    TestAids aids;
    std::string_view asked;  // --help, -h or --version
    std::vector<CommandOption> commandLine = testAidOptions(aids);
    for (const std::string_view name : {"--help", "-h", "--version"})
        commandLine.push_back(flagOption(name, [&asked, name] { asked = name; }));
    std::string error;
    bool ok = parseCommandLine(argc, argv, commandLine, nullptr, error);
    // Help and version stand alone: anything beside them is a mistake, not a request.
    if (ok && !asked.empty() && argc != 2) {
        error = std::string(asked) + " takes no other arguments";
        ok = false;
    }
    if (ok && !asked.empty()) return printInformation(asked == "--version" ? "version" : "help");
    if (!ok || !loadTestAidScript(aids, error)) {
        std::fprintf(stderr, "velkaran: %s (see velkaran --help)\n", error.c_str());
        return 2;
    }
    // The trace and replay files are named from where the game was started, before it moves.
    for (std::string* path : {&aids.tracePath, &aids.recordPath, &aids.replayPath})
        if (!path->empty()) *path = fs::absolute(*path).string();
    settleFiles(argc > 0 ? argv[0] : nullptr);
    const PlayerOptions options = readPlayerOptions(settingsFilePath());

    // The Game holds a full copy of the world grid: too large for a small stack.
    auto game = std::make_unique<Game>();
    // A trace that cannot be written would be a run reported as fine with nothing to show.
    if (aids.any() && !game->useTestAids(std::move(aids))) return 2;
    // Under a script the turns must stay the headless game's, so the factor is left out;
    // a replay brings the one it was played with.
    if (options.mouseSensitivity && !game->testAids().script && game->testAids().replayPath.empty())
        game->shell.session->sceneCamera.lookScale = *options.mouseSensitivity;
    applyInputOptions(options, game->shell.session->sceneCamera.lookScale);
    if (options.masterVolumePercent) AudioManager::instance().setMasterVolume(*options.masterVolumePercent);
    if (options.renderScalePercent) game->setRenderScale(*options.renderScalePercent);
    const int status = game->run();
    game.reset();
    return status;
}
