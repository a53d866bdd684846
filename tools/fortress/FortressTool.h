#pragma once
#include <cstdint>
#include <ostream>

#include "world/FortressBuild.h"

void writeDump(std::ostream& out, uint32_t seed, const FortressSetup& setup);
void writeShow(std::ostream& out, uint32_t seed, const FortressSetup& setup);
