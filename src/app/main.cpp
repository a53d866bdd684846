#include <cstdio>
#include <memory>
#include <string>

#include "app/Game.h"

int main(int argc, char** argv) {
    TestAids aids;
    std::string error;
    if (!parseTestAids(argc, argv, aids, error)) {
        std::fprintf(stderr, "velkaran: %s\n", error.c_str());
        return 2;
    }
    // The Game holds a full copy of the world grid: too large for a small stack.
    auto game = std::make_unique<Game>();
    if (aids.any()) game->useTestAids(std::move(aids));
    const int status = game->run();
    game.reset();
    return status;
}
