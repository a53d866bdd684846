#pragma once
// Verifies a built fortress: that generation and furnishing ended inside their
// limits, and that a player who holds every key, the repellent and the
// inductor can reach every mission target from the start cell.
#include <string>
#include <vector>

#include "world/FortressBuild.h"

inline constexpr int kExpectedCloakerNodes = 15;
inline constexpr int kExpectedEnergyCells = 4;
inline constexpr int kExpectedPlatforms = 4;

// One line per problem; empty when the fortress is sound. Reads the snapshot.
std::vector<std::string> checkFortress(const FortressSetup& setup);
