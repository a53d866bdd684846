#pragma once
// Where one run of the game finds its data and keeps the player's files.
//
// The game names its data "../Data/..." relative to its working directory. Two
// layouts give that tree a place:
//   - a build tree: <root>/bin/velkaran beside <root>/Data/. Everything stays in the
//     tree, the settings file, the screenshots and the replays included, as it always has.
//   - an installed game: <prefix>/bin/velkaran with the read-only tree in
//     <prefix>/share/velkaran/Data/. The prefix is not the player's (it may be
//     read-only, and several people may share it), so the settings file goes to
//     $XDG_CONFIG_HOME/velkaran/ and the screenshots and replays to $XDG_DATA_HOME/velkaran/.
// The layout is chosen once at start-up from where the executable is, whatever the
// working directory the game was started in (a menu entry starts it in the home
// folder), and the game then changes to a working directory from which "../Data/" is
// the data tree.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class TreeLayout { BuildTree, Installed };

struct GameFiles {
    TreeLayout layout = TreeLayout::BuildTree;
    // The folder to run in, so that "../Data/" is the data tree; empty: stay where started.
    std::filesystem::path workingDirectory;
    // Empty when there is nowhere to keep it (no home folder): the fortress and record
    // then live for one run only.
    std::filesystem::path settingsFile = "../Data/Settings/Settings.ini";
    std::filesystem::path screenshotsFolder = "../Data/Screenshots/";
    // The recorded games, beside the screenshots.
    std::filesystem::path replaysFolder = "../Data/Replays/";
};

// Reads an environment variable; nullptr when it is unset.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The layout for an executable that may be reached through any of the candidate
// paths, tried in order: the first whose folder has "../Data/Shaders/" beside it is a
// build tree, the first with "<installedData>/Data/" (installedData relative to the
// executable's folder, "../share/velkaran" for the GNU layout) is an installed game.
// Candidates are not resolved: a link to the game in another tree's bin/ is that
// tree's game. Nothing when no candidate has a data tree. For an installed game
// without a home folder the player's paths are empty and `problem` says why.
std::optional<GameFiles> locateGameFiles(const std::vector<std::filesystem::path>& executableCandidates,
                                         const std::filesystem::path& installedData,
                                         const EnvironmentLookup& environment, std::string& problem);

// The folders of the XDG base directories: the variable when it names an absolute
// path, else HOME joined with the default (".config", ".local/share"). Empty
// without either.
std::filesystem::path xdgFolder(const EnvironmentLookup& environment, const char* variable,
                                const char* homeDefault);

// The path the process was started through: argv[0] made absolute, or looked up in
// PATH when it names no folder. Not resolved through links. Empty when not found.
std::filesystem::path invokedExecutable(const std::string& argv0, const EnvironmentLookup& environment);

// The files of this run. Until useGameFiles is called (tests, tools) the build
// tree's relative paths.
const GameFiles& gameFiles();
void useGameFiles(GameFiles files);

// The settings file of this run (empty: none can be kept).
const std::filesystem::path& settingsFilePath();

// The folder this run's screenshots go into (gameFiles().screenshotsFolder), created
// with its missing parents when it does not exist yet. Empty, after one line on standard error, when it cannot be
// made; a file name joins it with operator/.
std::filesystem::path preparedScreenshotsFolder();

// Creates the missing folders above a file the player owns, private to the player
// as the XDG base directories ask. False when a folder could not be made.
bool createFoldersAbove(const std::filesystem::path& file);
