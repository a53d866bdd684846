#include <charconv>
#include <string>

#include "world/FortressDump.h"

namespace {

std::string number(float v) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

void writeCell(std::ostream& out, const WorldCell& c) {
    out << '[' << c.pathCost << ',' << int(c.isRoomFloor) << ',' << int(c.isDoorway) << ',' << int(c.northOpen) << ','
        << c.hazardClass << ',' << int(c.visible) << ',' << int(c.isBlock) << ',' << c.objectType << ','
        << int(c.blocksMovement) << ',' << int(c.reserved) << ',' << number(c.nextInteractionTime) << ','
        << int(c.interactive) << ',' << c.routeMark << ',' << c.mapIconId << ',' << number(c.mapFog) << ']';
}

template <typename CharOf>
void writeRows(std::ostream& out, const char* key, const FortressMap& map, CharOf charOf) {
    out << "  \"" << key << "\": [\n";
    for (int32_t y = 0; y < map.height; ++y) {
        out << "    \"";
        for (int32_t x = 0; x < map.width; ++x) out << charOf(x, y);
        out << '"' << (y + 1 < map.height ? ",\n" : "\n");
    }
    out << "  ],\n";
}

}  // namespace

void writeFortressDump(std::ostream& out, uint32_t seed, const FortressSetup& setup) {
    const FortressMap& map = setup.map;
    out << "{\n";
    out << "  \"seed\": " << seed << ",\n";
    out << "  \"generatorSeed\": " << generatorSeedFor(seed) << ",\n";
    out << "  \"width\": " << map.width << ",\n";
    out << "  \"height\": " << map.height << ",\n";
    writeRows(out, "tiles", map, [&](int32_t x, int32_t y) { return static_cast<char>('0' + static_cast<int32_t>(map.tile(x, y))); });
    writeRows(out, "wallStyles", map, [&](int32_t x, int32_t y) { return char('0' + map.wallStyle(x, y)); });

    out << "  \"cells\": [\n";
    for (int32_t j = 0; j < kWorldSize; ++j) {
        out << "    [";
        for (int32_t i = 0; i < kWorldSize; ++i) {
            if (i > 0) out << ',';
            writeCell(out, setup.initialWorld[i][j]);
        }
        out << ']' << (j + 1 < kWorldSize ? ",\n" : "\n");
    }
    out << "  ],\n";

    out << "  \"scannerTargets\": [";
    for (size_t k = 0; k < setup.scannerTargets.size(); ++k) {
        const ScannerTarget& t = setup.scannerTargets[k];
        out << (k > 0 ? "," : "") << '[' << t.i << ',' << t.kind << ',' << t.j << ']';
    }
    out << "],\n";
    out << "  \"correctForceField\": " << setup.correctForceField << ",\n";
    out << "  \"hiyuraCell\": [" << setup.hiyuraCell.i << ',' << setup.hiyuraCell.j << "],\n";
    out << "  \"spaceshipCell\": [" << setup.spaceshipCell.i << ',' << setup.spaceshipCell.j << "]\n";
    out << "}\n";
}
