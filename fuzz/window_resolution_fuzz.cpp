// The window_resolution= line, read from the raw settings text. No crash; a size is
// either absent (both 0) or both sides positive; the first occurrence decides, so
// text after the key's line cannot change the result; and the chosen window size
// is the configured one or the display's.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "world/WindowSettings.h"

namespace {

bool same(const WindowResolution& a, const WindowResolution& b) { return a.width == b.width && a.height == b.height; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const WindowResolution r = parseWindowResolution(text);
    FUZZ_CHECK(r.width >= 0 && r.height >= 0);
    FUZZ_CHECK((r.width == 0) == (r.height == 0));
    const bool hasKey = text.find("window_resolution=") != std::string::npos;
    if (r.width > 0) FUZZ_CHECK(hasKey);

    const WindowResolution later = parseWindowResolution(text + "\nwindow_resolution=640x480000\n");
    if (hasKey) FUZZ_CHECK(same(later, r));
    else FUZZ_CHECK(later.width == 640 && later.height == 480000);

    // CR LF line ends read as LF ones (the carriage return ends the height's digits),
    // except that the carriage return counts toward the 25 characters a line needs.
    const size_t key = text.find("window_resolution=");
    const size_t lineEnd = hasKey ? text.find('\n', key) : std::string::npos;
    if (lineEnd == std::string::npos || lineEnd - key != 24) {
        std::string crlf;
        for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        FUZZ_CHECK(same(parseWindowResolution(crlf), r));
    }

    int width = 0, height = 0;
    chooseWindowSize(r, 1920, 1080, width, height);
    const bool fits = r.width > 0 && r.width < 1920 && r.height < 1080;
    FUZZ_CHECK(fits ? width == r.width && height == r.height : width == 1920 && height == 1080);
    return 0;
}
