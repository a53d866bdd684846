#pragma once
// The window_resolution= line of the settings file. It may stand on any line,
// inside or outside the preferences section, so it is read as plain text rather
// than through the INI layer.
#include <string>

struct WindowResolution {
    int width = 0;   // 0: absent
    int height = 0;  // 0: absent
};

// Parses the first "window_resolution=WxH" in the file's text. A line shorter than
// 25 characters (key included), without "x", or with a value that has no digits or
// is below 1 leaves both values absent.
WindowResolution parseWindowResolution(const std::string& fileText);

// Picks the window size: the configured one when both values are set and each is
// strictly smaller than the display's, the display's otherwise.
void chooseWindowSize(const WindowResolution& configured, int displayWidth, int displayHeight,
                      int& width, int& height);
