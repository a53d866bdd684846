#include <memory>

#include "app/Game.h"

int main() {
    // The Game holds a full copy of the world grid: too large for a small stack.
    auto game = std::make_unique<Game>();
    const int status = game->run();
    game.reset();
    return status;
}
