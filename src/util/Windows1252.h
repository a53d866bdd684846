#pragma once
// The player's texts are Windows-1252 bytes; SDL's message boxes and the window title
// take UTF-8, and so does a JSON trace.
#include <string>

std::string windows1252ToUtf8(const std::string& text);
