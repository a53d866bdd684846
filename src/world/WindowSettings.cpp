#include "world/WindowSettings.h"

#include <cctype>
#include <climits>

namespace {

constexpr const char* kKey = "window_resolution=";
constexpr size_t kMinimumLineLength = 25;

// Leading white space, then decimal digits up to the first non-digit. Returns 0 when
// there are no digits or the value does not fit, so such a value counts as absent.
int leadingDecimal(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    bool anyDigit = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        anyDigit = true;
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) return 0;
    }
    if (!anyDigit || negative) return 0;
    return static_cast<int>(value);
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
    const int w = leadingDecimal(line.substr(keyLength, x - keyLength));
    const int h = leadingDecimal(line.substr(x + 1));
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
