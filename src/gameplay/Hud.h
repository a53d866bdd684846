#pragma once
// What the head-up display and the map screen show, decided without drawing: the
// icons the inventory counters pick, the play clock's text, the marks of the map, the
// processor load, and the free number of the next screenshot.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "gameplay/Session.h"
#include "world/WorldGrid.h"

// The HUD's icons in drawing order (the earlier one stays visible where two overlap).
std::vector<int32_t> hudIconIds(const HudCounters& counters);

// "1h 2m 3s " for 3723 s; the hours start again at 0 every 24 h.
std::string playClockText(int64_t elapsedSeconds);

// One mark of the map screen: the cell's own icon (with its fog as alpha) or, for a
// cell of the scanner's trail, the trace mark.
struct MapMark {
    int32_t i = 0;
    int32_t j = 0;
    bool trace = false;
    int32_t iconId = 0;  // the icon's render object, 0 for a trace mark
    float alpha = 1.0f;
};

// The marks of every shown cell (an object, visible) of rows and columns 1 ... 71, row by row.
std::vector<MapMark> mapScreenMarks(const WorldCells& grid);
// Where the trace marks and the player's marker stand on the map, in screen units.
glm::vec3 mapMarkPosition(int32_t i, int32_t j);

// The processor's idle (idle + iowait) and total times since boot, from /proc/stat.
struct ProcessorTimes {
    uint64_t idle = 0;
    uint64_t total = 0;
};
std::optional<ProcessorTimes> readProcessorTimes(const std::filesystem::path& statFile = "/proc/stat");
// The busy share between two readings, in per cent (0 when no time has passed).
uint32_t processorLoadPercent(const ProcessorTimes& previous, const ProcessorTimes& now);
// The statistics line: "FPS: n  CPU: m%", or "CPU: ?%" when the load cannot be read.
std::string statsText(int32_t frames, std::optional<uint32_t> loadPercent);

inline constexpr int32_t kFirstScreenshotNumber = 1000;
inline constexpr int32_t kLastScreenshotNumber = 9999;
// The drawn number when its file is free, else the next free one (wrapping within
// 1000 ... 9999); empty when every number is taken.
std::optional<int32_t> freeScreenshotNumber(int32_t drawn, const std::function<bool(int32_t)>& taken);
std::string screenshotFileName(int32_t number);
