#include "world/WindowSettings.h"

#include <climits>

#include "util/Parse.h"

namespace {

constexpr const char* kKey = "window_resolution=";
constexpr size_t kMinimumLineLength = 25;

// A width or height: a missing, non-positive or oversized value counts as absent (0).
int dimension(const std::string& text) {
    const auto value = parseLeadingInteger(text);
    return value && *value >= 1 && *value <= INT_MAX ? static_cast<int>(*value) : 0;
}

}  // namespace

WindowResolution parseWindowResolution(const std::string& fileText) {
    WindowResolution result;
    const size_t start = fileText.find(kKey);
    if (start == std::string::npos) return result;
    size_t end = fileText.find('\n', start);
    if (end == std::string::npos) end = fileText.size();
    const std::string line = fileText.substr(start, end - start);
    if (line.size() < kMinimumLineLength) return result;
    const size_t keyLength = std::char_traits<char>::length(kKey);
    const size_t x = line.find('x');
    if (x == std::string::npos || x < keyLength) return result;
    const int w = dimension(line.substr(keyLength, x - keyLength));
    const int h = dimension(line.substr(x + 1));
    if (w < 1 || h < 1) return result;  // a missing or non-positive value makes the pair absent
    result.width = w;
    result.height = h;
    return result;
}

void chooseWindowSize(const WindowResolution& configured, int displayWidth, int displayHeight,
                      int& width, int& height) {
    const bool usable = configured.width != 0 && configured.height != 0 &&
                        configured.width < displayWidth && configured.height < displayHeight;
    width = usable ? configured.width : displayWidth;
    height = usable ? configured.height : displayHeight;
}
