#include "util/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace fs = std::filesystem;

namespace {

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

GameFiles& currentFiles() {
    static GameFiles files;
    return files;
}

// Creates one folder and its missing parents with mode 0700. mkdir rather than
// create_directories, which would give every new parent the umask's wider mode.
bool makePrivateFolders(const fs::path& folder) {
    if (folder.empty() || isFolder(folder)) return true;
    const fs::path parent = folder.parent_path();
    if (parent != folder && !makePrivateFolders(parent)) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

fs::path xdgFolder(const EnvironmentLookup& environment, const char* variable, const char* homeDefault) {
    // A relative value is invalid by the XDG rules and is ignored.
    if (const char* value = environment(variable); value && *value && fs::path(value).is_absolute())
        return fs::path(value);
    if (const char* home = environment("HOME"); home && *home) return fs::path(home) / homeDefault;
    return {};
}

std::optional<GameFiles> locateGameFiles(const std::vector<fs::path>& executableCandidates,
                                         const fs::path& installedData, const EnvironmentLookup& environment,
                                         std::string& problem) {
    for (const fs::path& executable : executableCandidates) {
        if (executable.empty()) continue;
        const fs::path folder = executable.parent_path();
        // A build tree's Data/ holds the shaders: a stray folder named Data beside a
        // prefix's bin/ (a home folder used as the prefix) is not one.
        if (isFolder(folder / ".." / "Data" / "Shaders")) {
            GameFiles files;  // the build tree's own relative paths
            files.layout = TreeLayout::BuildTree;
            files.workingDirectory = folder;
            return files;
        }
        const fs::path data = (folder / installedData).lexically_normal() / "Data";
        if (!installedData.empty() && isFolder(data)) {
            GameFiles files;
            files.layout = TreeLayout::Installed;
            // The tree keeps its name, so from inside it "../Data/" is the tree itself.
            files.workingDirectory = data;
            const fs::path config = xdgFolder(environment, "XDG_CONFIG_HOME", ".config");
            const fs::path share = xdgFolder(environment, "XDG_DATA_HOME", ".local/share");
            files.settingsFile = config.empty() ? fs::path() : config / "velkaran" / "Settings.ini";
            files.screenshotsFolder = share.empty() ? fs::path() : share / "velkaran" / "Screenshots" / "";
            files.replaysFolder = share.empty() ? fs::path() : share / "velkaran" / "Replays" / "";
            if (config.empty())
                problem = "neither XDG_CONFIG_HOME nor HOME names a folder: the fortress and its record are not kept";
            return files;
        }
    }
    return std::nullopt;
}

fs::path invokedExecutable(const std::string& argv0, const EnvironmentLookup& environment) {
    if (argv0.empty()) return {};
    std::error_code ec;
    if (argv0.find('/') != std::string::npos) {
        const fs::path absolute = fs::absolute(argv0, ec);
        return ec ? fs::path() : absolute.lexically_normal();
    }
    // Started by name, as a menu entry does: the first match in PATH, as the shell found it.
    const char* path = environment("PATH");
    std::string_view entries = path ? path : "";
    while (true) {
        const size_t colon = entries.find(':');
        const std::string_view entry = entries.substr(0, colon);
        const fs::path candidate = fs::absolute(fs::path(entry.empty() ? "." : entry) / argv0, ec).lexically_normal();
        if (!ec && fs::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        if (colon == std::string_view::npos) break;
        entries.remove_prefix(colon + 1);
    }
    return {};
}

const GameFiles& gameFiles() { return currentFiles(); }

void useGameFiles(GameFiles files) { currentFiles() = std::move(files); }

const fs::path& settingsFilePath() { return currentFiles().settingsFile; }

fs::path preparedScreenshotsFolder() {
    const fs::path& folder = currentFiles().screenshotsFolder;
    if (folder.empty()) {
        std::fputs("ERROR: No folder for screenshots: neither XDG_DATA_HOME nor HOME names a folder\n", stderr);
        return {};
    }
    if (!makePrivateFolders(folder.parent_path())) {
        std::fprintf(stderr, "ERROR: Unable to create the screenshots folder %s: %s\n", folder.c_str(),
                     std::strerror(errno));
        return {};
    }
    return folder;
}

bool createFoldersAbove(const fs::path& file) { return makePrivateFolders(file.parent_path()); }
