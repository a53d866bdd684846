#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "fortress_testing.h"
#include "world/FortressCheck.h"
#include "world/FortressDump.h"

namespace {

std::string dumpOf(uint32_t seed) {
    auto setup = fortress_testing::build(seed);
    std::ostringstream out;
    writeFortressDump(out, seed, *setup);
    return out.str();
}

uint64_t fingerprint(const std::string& text) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char ch : text) {
        h ^= ch;
        h *= 1099511628211ull;
    }
    return h;
}

void surround(WorldCells& grid, GridCell c, int32_t objectType) {
    for (GridCell n : {GridCell{c.i - 1, c.j}, GridCell{c.i + 1, c.j}, GridCell{c.i, c.j - 1}, GridCell{c.i, c.j + 1}}) {
        grid[n.i][n.j].blocksMovement = true;
        grid[n.i][n.j].isBlock = objectType < 8;
        grid[n.i][n.j].objectType = objectType;
    }
}

}  // namespace

TEST(FortressBuild, SeedsKeepMeaningTheSameFortress) {
    // Fingerprints of the whole dump; a change here changes every player's fortress.
    struct Case {
        uint32_t seed;
        uint64_t expected;
    };
    const Case cases[] = {
        {1u, 16087550327953663978ull},
        {4294967295u, 15731128035068744792ull},
    };
    for (const Case& c : cases) {
        const std::string first = dumpOf(c.seed);
        EXPECT_EQ(first, dumpOf(c.seed)) << "same seed, same dump";
        EXPECT_EQ(fingerprint(first), c.expected) << c.seed;
    }
    EXPECT_NE(dumpOf(2), dumpOf(3));
}

TEST(FortressBuild, DumpKeepsItsLayout) {
    const std::string dump = dumpOf(4294967295u);
    const char* keys[] = {"\"seed\": 4294967295,", "\"generatorSeed\": 4294967294,", "\"width\": 71,",
                          "\"height\": 60,", "\"tiles\": [", "\"wallStyles\": [", "\"cells\": [",
                          "\"scannerTargets\": [[", "\"correctForceField\": 2", "\"hiyuraCell\": [",
                          "\"spaceshipCell\": [6,5]"};
    size_t at = 0;
    for (const char* key : keys) {
        const size_t found = dump.find(key, at);
        ASSERT_NE(found, std::string::npos) << key << " missing or out of order";
        at = found;
    }
    // Row 0 of the cells: (0, 0) open ground, then the first boundary wall with the first icon id.
    EXPECT_NE(dump.find("    [[10,0,0,0,0,0,1,0,0,0,0,0,0,0,1],[100,0,0,0,0,1,1,4,1,0,0,0,0,1000,0.2],"),
              std::string::npos);

    // Count the rows of each grid section: tile strings and wall style strings of 71
    // digits, cell rows of 72 records.
    std::istringstream lines(dump);
    std::string line, section;
    int tileRows = 0, styleRows = 0, cellRows = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("  \"", 0) == 0) {
            section = line.substr(3, line.find('"', 3) - 3);
            continue;
        }
        const bool digits71 = line.rfind("    \"", 0) == 0 && line.find('"', 5) == 5 + 71;
        if (section == "tiles" && digits71) ++tileRows;
        if (section == "wallStyles" && digits71) ++styleRows;
        if (section == "cells" && line.rfind("    [[", 0) == 0) ++cellRows;
    }
    EXPECT_EQ(tileRows, 60);
    EXPECT_EQ(styleRows, 60);
    EXPECT_EQ(cellRows, 72);
}

TEST(FortressBuild, CheckFindsUnreachableAndMissingTargets) {
    auto setup = fortress_testing::build(4242);
    EXPECT_TRUE(checkFortress(*setup).empty());

    // Gates, the worm and the monolith are open to a player with every key.
    auto locked = fortress_testing::build(4242);
    surround(locked->initialWorld, locked->hiyuraCell, item::WormAlien);
    EXPECT_TRUE(checkFortress(*locked).empty());

    // Walls are not.
    auto walled = fortress_testing::build(4242);
    surround(walled->initialWorld, walled->hiyuraCell, block::FirstWall);
    const ScannerTarget cell = walled->scannerTargets[15];
    walled->initialWorld[cell.i][cell.j].objectType = 0;
    const auto problems = checkFortress(*walled);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "energy cell: 3 placed, 4 needed");
    EXPECT_EQ(problems[1], "Hiyura at (" + std::to_string(walled->hiyuraCell.i) + ", " +
                               std::to_string(walled->hiyuraCell.j) + ") unreachable");
}
