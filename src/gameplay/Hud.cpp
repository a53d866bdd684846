#include "gameplay/Hud.h"

#include <fstream>
#include <sstream>

#include "scene/RenderObjectIds.h"
#include "world/WorldGrid.h"

std::vector<int32_t> hudIconIds(const HudCounters& c) {
    using namespace render_id;
    // An item's icon for "held" follows its "not held" one.
    const auto held = [](int32_t icon, int32_t count) { return count ? icon + 1 : icon; };
    std::vector<int32_t> ids = {kAmmoIcon, kHealthIcon, kNodesIcon, kScannerIcon};
    ids.push_back(held(kHiyuraIcon, c.hiyura));
    ids.push_back(held(kEnergyCellIcon, c.energyCell));
    if (c.connectedCells >= 0 && c.connectedCells <= 4) ids.push_back(kConnectedCellsIcon + c.connectedCells);
    ids.push_back(held(kInjectorIcon, c.injector));
    ids.push_back(held(kRedKeyIcon, c.keyRed));
    ids.push_back(held(kGreenKeyIcon, c.keyGreen));
    ids.push_back(held(kYellowKeyIcon, c.keyYellow));
    ids.push_back(held(kRepellentIcon, c.repellent));
    ids.push_back(held(kInductorIcon, c.inductor));
    if (c.compassSector >= 0 && c.compassSector <= 2) ids.push_back(kCompassIcon + c.compassSector);
    return ids;
}

std::string playClockText(int64_t e) {
    const int64_t hours = e / 3600 - (e / 86400) * 24;
    const int64_t minutes = e / 60 - (e / 3600) * 60;
    const int64_t seconds = e - (e / 60) * 60;
    return std::to_string(hours) + "h " + std::to_string(minutes) + "m " + std::to_string(seconds) + "s ";
}

std::vector<MapMark> mapScreenMarks(const WorldCells& grid) {
    std::vector<MapMark> marks;
    for (int32_t j = 1; j < kWorldSize; ++j) {
        for (int32_t i = 1; i < kWorldSize; ++i) {
            const WorldCell& c = grid[static_cast<size_t>(i)][static_cast<size_t>(j)];
            if (c.objectType == 0 || !c.visible) continue;
            if (c.routeMark != 0) marks.push_back({i, j, true, 0, 0.6f});
            else if (c.mapIconId != 0) marks.push_back({i, j, false, c.mapIconId, c.mapFog});
        }
    }
    return marks;
}

glm::vec3 mapMarkPosition(int32_t i, int32_t j) {
    return {static_cast<float>(i) * 0.33f - 11.8f, 19.5f - static_cast<float>(j) * 0.55f, 0.0f};
}

std::optional<ProcessorTimes> readProcessorTimes(const std::filesystem::path& statFile) {
    std::ifstream in(statFile);
    std::string label;
    if (!(in >> label) || label != "cpu") return std::nullopt;
    // user nice system idle iowait irq softirq steal ...
    std::string line;
    std::getline(in, line);
    std::istringstream fields(line);
    uint64_t value = 0;
    ProcessorTimes t;
    int count = 0;
    while (fields >> value) {
        if (count == 3 || count == 4) t.idle += value;
        if (count < 8) t.total += value;  // guest times are already inside user and nice
        ++count;
    }
    if (count < 4) return std::nullopt;
    return t;
}

uint32_t processorLoadPercent(const ProcessorTimes& previous, const ProcessorTimes& now) {
    if (now.total <= previous.total) return 0;
    const double idle = static_cast<double>(now.idle - std::min(now.idle, previous.idle));
    const double total = static_cast<double>(now.total - previous.total);
    const double load = 1.0 - idle / total;
    return load <= 0.0 ? 0u : static_cast<uint32_t>(load * 100.0);
}

std::string statsText(int32_t frames, std::optional<uint32_t> loadPercent) {
    return "FPS: " + std::to_string(frames) + "  CPU: " + (loadPercent ? std::to_string(*loadPercent) : "?") + "%";
}

std::optional<int32_t> freeScreenshotNumber(int32_t drawn, const std::function<bool(int32_t)>& taken) {
    constexpr int32_t span = kLastScreenshotNumber - kFirstScreenshotNumber + 1;
    for (int32_t k = 0; k < span; ++k) {
        const int32_t n = kFirstScreenshotNumber + (drawn - kFirstScreenshotNumber + k) % span;
        if (!taken(n)) return n;
    }
    return std::nullopt;
}

std::string screenshotFileName(int32_t number) { return "captura_pantalla_" + std::to_string(number) + ".bmp"; }
