#include "gameplay/Scanner.h"

void useScanner(Player&, ScannerWorld, GameServices&, RandomEngine&, PendingText&) {}

std::optional<GridCell> chooseTeleportDestination(RandomEngine&) { return std::nullopt; }
