// The replay reader. No crash; a refused file gets one short printable line that names
// an existing line (or says it is no replay, or of a later version); an accepted one
// holds only what a replay can express, within its bounds; written out again it reads
// back to the same header, frames and end; CR LF reads like LF; and the file cut short
// anywhere after its first line is still accepted, as the same game up to the cut.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "gameplay/Replay.h"

namespace {

struct Reading {
    bool ok = false;
    std::string error;
    ReplayHeader header;
    std::optional<ReplayEnding> ending;
    int64_t frames = 0;
};

Reading readAll(const std::string& text) {
    std::istringstream in(text);
    ReplayReader reader(in);
    Reading r;
    if (!reader.readHeader(r.header, r.error)) return r;
    ReplayRecord record;
    while (reader.nextRecord(record, r.error)) {
        FUZZ_CHECK(record.repeat >= 1);
        const ReplayFrame& f = record.frame;
        FUZZ_CHECK(f.dt >= 0.0f && f.dt <= kReplayMaxFrameTime);
        FUZZ_CHECK(f.clock >= -kReplayMaxClock && f.clock <= kReplayMaxClock);
        FUZZ_CHECK(f.events.size() <= kReplayMaxEventsPerFrame);
        FUZZ_CHECK(record.repeat == 1 || (f.events.empty() && !f.escapeAnsweredYes));
        if (f.escapeAnsweredYes) {
            FUZZ_CHECK(!f.events.empty() && f.events.back().type == InputType::KeyDown &&
                       f.events.back().key == Key::Escape);
        }
    }
    r.ok = r.error.empty();
    r.ending = reader.ending();
    r.frames = reader.framesRead();
    return r;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameFrame(const ReplayFrame& a, const ReplayFrame& b) {
    if (!sameBits(a.dt, b.dt) || a.clock != b.clock || a.escapeAnsweredYes != b.escapeAnsweredYes ||
        a.events.size() != b.events.size())
        return false;
    for (size_t i = 0; i < a.events.size(); ++i) {
        const InputEvent &x = a.events[i], &y = b.events[i];
        if (x.type != y.type || x.key != y.key || x.button != y.button || x.x != y.x || x.y != y.y) return false;
    }
    return true;
}

// Walks two readings' frames side by side without handing out a run's frames one by
// one. True when they agree as far as the shorter goes (or, with whole, to the end of both).
bool sameFrames(const std::string& a, const std::string& b, bool whole) {
    std::istringstream inA(a), inB(b);
    ReplayReader ra(inA), rb(inB);
    ReplayHeader h;
    std::string error;
    FUZZ_CHECK(ra.readHeader(h, error) && rb.readHeader(h, error));
    ReplayRecord x, y;
    uint64_t leftX = 0, leftY = 0;
    for (;;) {
        if (leftX == 0) leftX = ra.nextRecord(x, error) ? x.repeat : 0;
        if (leftY == 0) leftY = rb.nextRecord(y, error) ? y.repeat : 0;
        if (leftX == 0 || leftY == 0) return !whole || (leftX == 0 && leftY == 0);
        if (!sameFrame(x.frame, y.frame)) return false;
        const uint64_t step = std::min(leftX, leftY);
        leftX -= step;
        leftY -= step;
    }
}

std::string encodeAgain(const std::string& text) {
    std::istringstream in(text);
    ReplayReader reader(in);
    ReplayHeader header;
    std::string error;
    FUZZ_CHECK(reader.readHeader(header, error));
    ReplayEncoder encoder(header);
    ReplayRecord record;
    while (reader.nextRecord(record, error)) encoder.frame(record.frame, record.repeat);
    if (reader.ending()) encoder.end(reader.ending()->reason, reader.ending()->draws);
    else encoder.settle();
    return encoder.take();
}

bool sameHeader(const ReplayHeader& a, const ReplayHeader& b) {
    return a.gameVersion == b.gameVersion && a.seed == b.seed && a.name == b.name && a.recordHours == b.recordHours &&
           a.recordMinutes == b.recordMinutes && a.recordSeconds == b.recordSeconds &&
           sameBits(a.lookScale, b.lookScale) && a.invulnerable == b.invulnerable && a.windowWidth == b.windowWidth &&
           a.windowHeight == b.windowHeight && a.drawsAtStart == b.drawsAtStart;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t lineCount = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    const Reading r = readAll(text);

    if (!r.ok) {
        FUZZ_CHECK(!r.error.empty() && r.error.size() < 200);
        for (const char c : r.error) FUZZ_CHECK(c >= 0x20 && c < 0x7f);
        if (r.error.rfind("line ", 0) == 0) {
            const unsigned long line = std::stoul(r.error.substr(5));
            FUZZ_CHECK(line >= 1 && line <= lineCount);
        } else {
            FUZZ_CHECK(r.error.rfind("not a replay file", 0) == 0 || r.error.rfind("replay format version ", 0) == 0);
        }
        return 0;
    }

    FUZZ_CHECK(r.header.name.size() <= kReplayMaxNameBytes);
    FUZZ_CHECK(r.header.gameVersion.size() <= kReplayMaxVersionBytes);
    FUZZ_CHECK(r.header.lookScale >= 0.1f && r.header.lookScale <= 10.0f);
    if (r.ending) FUZZ_CHECK(r.ending->frames == r.frames);

    // Written again: the same game.
    const std::string again = encodeAgain(text);
    const Reading back = readAll(again);
    FUZZ_CHECK(back.ok);
    FUZZ_CHECK(sameHeader(r.header, back.header));
    FUZZ_CHECK(back.frames == r.frames);
    FUZZ_CHECK(back.ending.has_value() == r.ending.has_value());
    if (r.ending) FUZZ_CHECK(back.ending->reason == r.ending->reason && back.ending->draws == r.ending->draws);
    FUZZ_CHECK(sameFrames(text, again, true));
    FUZZ_CHECK(encodeAgain(again) == again);  // the writer's form is a fixed point

    if (text.find('\r') == std::string::npos) {
        std::string crlf;
        for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        const Reading fromCrlf = readAll(crlf);
        FUZZ_CHECK(fromCrlf.ok && fromCrlf.frames == r.frames && sameFrames(text, crlf, true));
    }

    // Killed while writing: any cut after the first line leaves the game up to it.
    const size_t headerEnd = text.find('\n') + 1;
    const size_t cut = headerEnd + (size > headerEnd ? static_cast<size_t>(data[size / 2]) * (size - headerEnd) / 255 : 0);
    const std::string cutText = text.substr(0, cut);
    const Reading shorter = readAll(cutText);
    FUZZ_CHECK(shorter.ok && shorter.frames <= r.frames);
    FUZZ_CHECK(sameFrames(text, cutText, false));
    return 0;
}
