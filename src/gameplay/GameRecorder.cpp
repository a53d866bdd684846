#include "gameplay/GameRecorder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <system_error>
#include <vector>

#include "util/Paths.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxNameInFile = 40;
constexpr std::string_view kExtension = ".replay";

bool isReplayName(const std::string& name) {
    // YYYY-MM-DD_HH-MM-SS_ ... .replay
    constexpr std::string_view kDigits = "dddd-dd-dd_dd-dd-dd_";
    if (name.size() < kDigits.size() + kExtension.size()) return false;
    for (size_t k = 0; k < kDigits.size(); ++k) {
        const auto c = static_cast<unsigned char>(name[k]);
        if (kDigits[k] == 'd' ? !std::isdigit(c) : name[k] != kDigits[k]) return false;
    }
    return name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) == 0;
}

}  // namespace

std::string replayFileName(std::time_t when, const std::string& fortressName) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S_", &local);
    std::string name = stamp;
    std::string fortress;
    for (const char ch : fortressName) {
        if (fortress.size() == kMaxNameInFile) break;
        const auto c = static_cast<unsigned char>(ch);
        fortress += c < 0x80 && (std::isalnum(c) || c == '-' || c == '_') ? ch : '_';
    }
    name += fortress.empty() ? std::string("fortress") : fortress;
    return name + std::string(kExtension);
}

void pruneReplays(const fs::path& folder, size_t keep) {
    std::vector<fs::path> replays;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        if (isReplayName(it->path().filename().string())) replays.push_back(it->path());
    }
    if (replays.size() <= keep) return;
    std::sort(replays.begin(), replays.end(), [](const fs::path& a, const fs::path& b) {
        return a.filename().string() < b.filename().string();
    });
    for (size_t k = 0; k + keep < replays.size(); ++k) {
        std::error_code removeError;
        fs::remove(replays[k], removeError);
    }
}

void GameRecorder::gameStarted(const ReplayHeader& header, std::time_t calendar) {
    // A game still open (the shell always ends one first) is closed as it stands.
    if (writer.isOpen()) gameEnded(ReplayEnd::Stopped, header.drawsAtStart);
    const bool named = firstGame && !firstGameFile.empty();
    firstGame = false;
    fs::path file = firstGameFile;
    if (!named) {
        if (!everyGame) return;
        if (folder.empty()) {
            std::fputs("ERROR: No folder for replays: neither XDG_DATA_HOME nor HOME names a folder\n", stderr);
            return;
        }
        const std::string name = replayFileName(calendar, header.name);
        if (!createFoldersAbove(folder / name)) {
            std::fprintf(stderr, "ERROR: Unable to create the replays folder %s: %s\n", folder.c_str(),
                         std::strerror(errno));
            return;
        }
        // Two games begun in the same second: the later one gets a number.
        file = folder / name;
        std::error_code ec;
        for (int k = 2; fs::exists(file, ec) && k < 100; ++k)
            file = folder / (name.substr(0, name.size() - kExtension.size()) + "-" + std::to_string(k) +
                             std::string(kExtension));
    }
    std::string error;
    if (!writer.open(file, header, error)) {
        std::fprintf(stderr, "ERROR: %s\n", error.c_str());
        return;
    }
    current = file;
    if (!named) pruneReplays(folder, keepNewest);
}

void GameRecorder::gameEnded(ReplayEnd reason, uint64_t draws) {
    if (!writer.isOpen()) return;
    std::string error;
    if (!writer.finish(reason, draws, error)) std::fprintf(stderr, "ERROR: %s\n", error.c_str());
}
