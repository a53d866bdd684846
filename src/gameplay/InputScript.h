#pragma once
// Scripted input for the headless runs and the test aids: one event per line,
// "FRAME EVENT ARGS", read into the same event records the rules take from the
// window system, so a script drives exactly the code that real input drives.
//
//   # comment          (blank lines and lines whose first non-blank is '#' are skipped)
//   0 keydown w        keydown / keyup: w a s d space lshift q f n m f1 f8 f12 escape
//                      up down tab return
//   12 motion 640 -30  pointer position in window pixels, may lie outside the window
//   30 press left      press / release: left or right
//   40 focuslost       the window lost the keyboard focus (or was minimised)
//
// Lines may come in any order of FRAME; the events of one frame keep their line order.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <map>
#include <string>

#include "gameplay/InputEvent.h"

struct InputScript {
    // Only frames that hold at least one event have an entry.
    std::map<uint32_t, InputEvents> frames;

    // The events of one frame in line order; empty for a frame without any.
    const InputEvents& eventsAt(uint32_t frame) const;
};

// Parses a whole script. On the first bad line returns false with error set to
// "line N: <reason>" (N counted from 1, the reason on one line) and leaves out as it
// was, so a half-read script is never used. CR LF line ends are accepted.
bool parseInputScript(const std::string& text, InputScript& out, std::string& error);

// What a script may hold: far more than hours of recorded play, and a bound on what
// an endless stream (/dev/zero, a pipe that never ends) makes the reader keep.
inline constexpr size_t kMaxScriptBytes = size_t{64} << 20;
inline constexpr size_t kMaxScriptLines = 4'000'000;

// The same for a stream (standard input for "-") or a file; a stream or file that
// cannot be read, or holds more than the bounds above, is an error too ("cannot read
// the file": the caller adds its name).
bool readInputScript(std::istream& in, InputScript& out, std::string& error);
bool loadInputScript(const std::filesystem::path& path, InputScript& out, std::string& error);
