// What the HUD and the map screen show, decided without drawing.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "gameplay/Hud.h"

namespace {

TEST(HudIcons, TheCountersPickOneIconOfEachPair) {
    HudCounters none;
    EXPECT_EQ(hudIconIds(none), (std::vector<int32_t>{7, 8, 9, 10, 11, 13, 15, 20, 22, 24, 26, 28, 30, 32}));
    HudCounters all;
    all.hiyura = all.energyCell = all.injector = all.keyRed = all.keyGreen = all.keyYellow = 1;
    all.repellent = all.inductor = 1;
    all.connectedCells = 4;
    all.compassSector = 2;
    EXPECT_EQ(hudIconIds(all), (std::vector<int32_t>{7, 8, 9, 10, 12, 14, 19, 21, 23, 25, 27, 29, 31, 34}));
    HudCounters odd;
    odd.compassSector = 3;
    odd.connectedCells = 5;
    const std::vector<int32_t> ids = hudIconIds(odd);
    EXPECT_EQ(std::count_if(ids.begin(), ids.end(), [](int32_t id) { return id >= 15 && id <= 19; }), 0);
    EXPECT_EQ(std::count_if(ids.begin(), ids.end(), [](int32_t id) { return id >= 32 && id <= 34; }), 0);
}

TEST(HudClock, HoursMinutesSecondsEachWithItsLetterAndABlankWrappingAtADay) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0h 0m 0s "}, {3723, "1h 2m 3s "}, {86399, "23h 59m 59s "}, {86400, "0h 0m 0s "}, {90061, "1h 1m 1s "},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(playClockText(seconds), text) << seconds;
}

TEST(MapScreen, ShownCellsGiveTheirIconWithFogOrATraceMark) {
    static WorldCells grid{};
    grid = WorldCells{};
    auto put = [](int i, int j, int32_t object, bool visible, int32_t icon, float fog, int32_t mark = 0) {
        WorldCell& c = grid[static_cast<size_t>(i)][static_cast<size_t>(j)];
        c.objectType = object;
        c.visible = visible;
        c.mapIconId = icon;
        c.mapFog = fog;
        c.routeMark = mark;
    };
    put(3, 2, 4, true, 1001, 0.45f);       // a wall, half explored
    put(5, 2, 8, false, 1002, 0.2f);       // hidden (Hiyura before the nodes): nothing
    put(2, 7, 0, true, 1003, 1.0f);        // no object: nothing
    put(9, 4, 2, true, 0, 1.0f, 2);        // the scanner's trail
    put(4, 4, 9, true, 1004, 0.7f, 1);     // a mark beats the icon
    put(0, 5, 4, true, 1005, 1.0f);        // row and column 0 are never shown
    const std::vector<MapMark> marks = mapScreenMarks(grid);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].iconId, 1001);
    EXPECT_FLOAT_EQ(marks[0].alpha, 0.45f);
    EXPECT_TRUE(marks[1].trace && marks[1].i == 4 && marks[1].j == 4);  // row 4 after row 2, x 4 before x 9
    EXPECT_FLOAT_EQ(marks[1].alpha, 0.6f);
    EXPECT_TRUE(marks[2].trace && marks[2].i == 9);
    EXPECT_FLOAT_EQ(mapMarkPosition(10, 10).x, 10 * 0.33f - 11.8f);
    EXPECT_FLOAT_EQ(mapMarkPosition(10, 10).y, 19.5f - 10 * 0.55f);
}

TEST(ProcessorLoad, IdleAndIowaitAgainstTheTotal) {
    const std::filesystem::path stat = std::filesystem::temp_directory_path() / "velkaran-hud-stat";
    {
        std::ofstream out(stat);
        out << "cpu  150 0 100 650 100 0 0 0 0 0\ncpu0 1 2 3 4\n";
    }
    const std::optional<ProcessorTimes> t = readProcessorTimes(stat);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->idle, 750u);
    EXPECT_EQ(t->total, 1000u);
    EXPECT_EQ(processorLoadPercent({0, 0}, *t), 25u);
    EXPECT_EQ(processorLoadPercent(*t, *t), 0u) << "no time passed";
    EXPECT_EQ(processorLoadPercent(*t, {t->idle + 25, t->total + 100}), 75u);
    std::filesystem::remove(stat);
    EXPECT_FALSE(readProcessorTimes(stat));
    EXPECT_EQ(statsText(58, 31u), "FPS: 58  CPU: 31%");
    EXPECT_EQ(statsText(58, std::nullopt), "FPS: 58  CPU: ?%");
}

TEST(Screenshots, TheDrawnNumberOrTheNextFreeOneNeverAnEarlierFile) {
    std::set<int32_t> taken = {4000, 4001, 9999};
    auto isTaken = [&](int32_t n) { return taken.count(n) > 0; };
    EXPECT_EQ(freeScreenshotNumber(3999, isTaken), 3999);
    EXPECT_EQ(freeScreenshotNumber(4000, isTaken), 4002);
    EXPECT_EQ(freeScreenshotNumber(9999, isTaken), 1000) << "wraps within the range";
    EXPECT_FALSE(freeScreenshotNumber(1234, [](int32_t) { return true; }));
    EXPECT_EQ(screenshotFileName(1000), "captura_pantalla_1000.bmp");
}

}  // namespace
