#include "world/PlayerOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

struct FoundLine {
    std::string_view value;
    size_t offset = 0;  // where the line starts in the file
};

// The first line "key=value" (blanks around both allowed), or nothing.
std::optional<FoundLine> firstLine(std::string_view text, std::string_view key) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (const size_t eq = line.find('='); eq != std::string_view::npos && sameWord(trimmed(line.substr(0, eq)), key))
            return FoundLine{trimmed(line.substr(eq + 1)), start};
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<std::string_view> firstValue(std::string_view text, std::string_view key) {
    if (auto found = firstLine(text, key)) return found->value;
    return std::nullopt;
}

// The key_...= lines in the order they stand in the file.
std::vector<KeyBindingLine> keyBindingLines(std::string_view text) {
    std::vector<std::pair<size_t, KeyBindingLine>> found;
    for (size_t k = 0; k < kBoundActionCount; ++k)
        if (auto line = firstLine(text, kKeyBindingSettings[k]))
            found.push_back({line->offset, {static_cast<BoundAction>(k), std::string(line->value)}});
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<KeyBindingLine> lines;
    for (auto& [offset, line] : found) lines.push_back(std::move(line));
    return lines;
}

std::optional<bool> parseSwitch(std::string_view v) {
    for (const char* on : {"1", "yes", "true", "on"})
        if (sameWord(v, on)) return true;
    for (const char* off : {"0", "no", "false", "off"})
        if (sameWord(v, off)) return false;
    return std::nullopt;
}

std::optional<float> parseSensitivity(std::string_view v) {
    std::string text(v);
    std::replace(text.begin(), text.end(), ',', '.');
    float value = 0.0f;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || ec != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    if (value < 0.1f || value > 10.0f) return std::nullopt;
    return value;
}

std::optional<int> parsePercent(std::string_view v, int lowest = 0) {
    int value = -1;
    const char* end = v.data() + v.size();
    const auto [stop, ec] = std::from_chars(v.data(), end, value);
    if (v.empty() || ec != std::errc() || stop != end || value < lowest || value > 100) return std::nullopt;
    return value;
}

}  // namespace

PlayerOptions parsePlayerOptions(const std::string& fileText) {
    PlayerOptions options;
    if (auto v = firstValue(fileText, "fullscreen")) options.fullscreen = parseSwitch(*v).value_or(false);
    if (auto v = firstValue(fileText, "mouse_sensitivity")) options.mouseSensitivity = parseSensitivity(*v);
    if (auto v = firstValue(fileText, "master_volume")) options.masterVolumePercent = parsePercent(*v);
    if (auto v = firstValue(fileText, "render_scale")) options.renderScalePercent = parsePercent(*v, 50);
    options.keyBindings = keyBindingLines(fileText);
    if (auto v = firstValue(fileText, "invert_y")) options.invertY = parseSwitch(*v).value_or(false);
    if (auto v = firstValue(fileText, "stick_sensitivity")) options.stickSensitivity = parseSensitivity(*v);
    if (auto v = firstValue(fileText, "vsync")) options.vsync = parseSwitch(*v);
    return options;
}

PlayerOptions readPlayerOptions(const std::filesystem::path& settingsFile) {
    if (settingsFile.empty()) return {};
    std::ifstream in(settingsFile, std::ios::binary);
    if (!in) return {};
    return parsePlayerOptions(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}
