#include "gameplay/ReplayPlayback.h"

#include <cstdio>

#include "gameplay/GameShell.h"
#include "util/Random.h"

bool ReplayPlayback::open(const std::filesystem::path& path, int64_t calendarBase, std::string& error) {
    std::optional<ReplayEnding> ending;
    if (!checkReplayFile(path, head, ending, frames, error)) return false;
    file = path;
    base = calendarBase;
    in.open(path, std::ios::binary);
    reader.emplace(in);
    ReplayHeader again;
    std::string why;
    if (!in || !reader->readHeader(again, why)) {
        error = path.string() + ": " + (why.empty() ? std::string("cannot read the file") : why);
        return false;
    }
    return true;
}

FortressIdentity ReplayPlayback::fortress() const {
    FortressIdentity identity;
    identity.settingsPath.clear();
    identity.mapSeed = head.seed;
    identity.mapName = head.name;
    identity.recordHours = head.recordHours;
    identity.recordMinutes = head.recordMinutes;
    identity.recordSeconds = head.recordSeconds;
    identity.formatRecordText();
    return identity;
}

void ReplayPlayback::setUp(GameShell& shell) const {
    shell.startOnFirstFrame = true;
    shell.session->sceneCamera.lookScale = head.lookScale;
    shell.session->player.invulnerable = head.invulnerable;
}

bool ReplayPlayback::startMatches(const GameShell& shell, std::string& error) const {
    const uint64_t own = shell.session->random.drawsSinceSeed();
    if (own == head.drawsAtStart) return true;
    error = file.string() + ": the recorded game began " + std::to_string(head.drawsAtStart) +
            " draws after the seed, this build's start-up makes " + std::to_string(own) +
            " (a later game of its run, or another build's start-up)";
    return false;
}

bool ReplayPlayback::next(ReplayFrame& frame) {
    if (!reader) return false;
    std::string error;
    if (!reader->nextFrame(frame, error)) {
        if (!error.empty()) std::fprintf(stderr, "velkaran: %s: %s\n", file.c_str(), error.c_str());
        reader.reset();
        return false;
    }
    clock = frame.clock;
    yes = frame.escapeAnsweredYes;
    return true;
}
