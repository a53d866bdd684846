#include "gameplay/HeadlessGame.h"

namespace {

class SeedOnly : public StartUpSteps {
public:
    SeedOnly(uint32_t fortressSeed, ModelLoader& none) : seed(fortressSeed), noModels(none) {}
    FortressIdentity fortress() override {
        FortressIdentity identity;
        identity.settingsPath.clear();  // nothing is written
        identity.mapSeed = seed;
        identity.recordHours = 2;
        identity.formatRecordText();
        return identity;
    }
    ModelLoader& models() override { return noModels; }

private:
    uint32_t seed;
    ModelLoader& noModels;
};

}  // namespace

HeadlessGame::HeadlessGame(uint32_t seed) {
    shell.startOnFirstFrame = true;
    shell.useTestClock = true;
    SeedOnly steps(seed, noModels);
    shell.startUp(steps, 0, 0);
}

bool HeadlessGame::runFrame(const InputEvents& events, float dt) {
    if (shell.state != GameState::Playing && shell.framesRun > 0) return false;
    shell.runFrame(events, dt);
    return shell.state == GameState::Playing;
}

void HeadlessGame::useServices(std::unique_ptr<GameServices> replacement) {
    services = std::move(replacement);
    shell.useServices(*services);
}
