// Replay files: what is written reads back exactly (time steps bit for bit), damage and
// later versions are refused with one line, a file cut anywhere is still the game up to
// the cut, the writer keeps at most a second unwritten, and the headless game plays a
// recorded game again to the same state.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

#include "gameplay/Bot.h"
#include "gameplay/HeadlessReplay.h"
#include "gameplay/Replay.h"
#include "gameplay/TestAids.h"
#include "util/Random.h"

namespace fs = std::filesystem;

namespace {

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameEvent(const InputEvent& a, const InputEvent& b) {
    return a.type == b.type && a.key == b.key && a.button == b.button && a.x == b.x && a.y == b.y;
}

void expectSameFrame(const ReplayFrame& a, const ReplayFrame& b, size_t index) {
    EXPECT_TRUE(sameBits(a.dt, b.dt)) << "frame " << index << ": " << a.dt << " vs " << b.dt;
    EXPECT_EQ(a.clock, b.clock) << "frame " << index;
    EXPECT_EQ(a.escapeAnsweredYes, b.escapeAnsweredYes) << "frame " << index;
    ASSERT_EQ(a.events.size(), b.events.size()) << "frame " << index;
    for (size_t e = 0; e < a.events.size(); ++e) EXPECT_TRUE(sameEvent(a.events[e], b.events[e])) << index << "/" << e;
}

struct ReadBack {
    bool ok = false;
    std::string error;
    ReplayHeader header;
    std::vector<ReplayFrame> frames;
    std::optional<ReplayEnding> ending;
};

ReadBack readAll(const std::string& text) {
    std::istringstream in(text);
    ReplayReader reader(in);
    ReadBack r;
    if (!reader.readHeader(r.header, r.error)) return r;
    ReplayFrame frame;
    while (reader.nextFrame(frame, r.error)) r.frames.push_back(frame);
    r.ok = r.error.empty();
    r.ending = reader.ending();
    return r;
}

ReplayHeader sampleHeader() {
    ReplayHeader h;
    h.gameVersion = "0.1";
    h.seed = 4294967295u;
    h.name = std::string("Fi dux%az\xe9\x01", 12);  // a blank, a '%', Windows-1252 and a control byte
    h.recordHours = -3;  // the settings file may hold any hours
    h.recordMinutes = 60;
    h.recordSeconds = 7;
    h.lookScale = 0.1f;
    h.invulnerable = true;
    h.windowWidth = 1280;
    h.windowHeight = 720;
    h.drawsAtStart = 18446744073709551615u;
    return h;
}

ReplayFrame frameOf(float dt, int64_t clock, InputEvents events, bool yes = false) {
    ReplayFrame f;
    f.dt = dt;
    f.clock = clock;
    f.events = std::move(events);
    f.escapeAnsweredYes = yes;
    return f;
}

std::string encode(const ReplayHeader& header, const std::vector<ReplayFrame>& frames,
                   std::optional<ReplayEnd> end = std::nullopt, uint64_t draws = 0) {
    ReplayEncoder encoder(header);
    for (const ReplayFrame& f : frames) encoder.frame(f);
    if (end) encoder.end(*end, draws);
    else encoder.settle();
    return encoder.take();
}

TEST(ReplayFormat, EveryFieldEventAndAwkwardTimeStepReadsBackExactly) {
    // Time steps a real game gives (tick differences), the sim's 1/60, the bounds, the
    // smallest floats and neighbours that a short decimal would merge.
    const float steps[] = {1.0f / 60.0f,
                           std::nextafter(1.0f / 60.0f, 1.0f),
                           std::nextafter(1.0f / 60.0f, 0.0f),
                           16.0f * 0.001f,
                           17.0f * 0.001f,
                           0.1f,
                           1.0f,
                           std::nextafter(1.0f, 0.0f),
                           0.0f,
                           -0.0f,
                           std::numeric_limits<float>::denorm_min(),
                           std::numeric_limits<float>::min(),
                           3.0e-5f};
    std::vector<ReplayFrame> frames;
    for (const float dt : steps) frames.push_back(frameOf(dt, 0, {}));
    InputEvents all;
    for (const Key k : {Key::W, Key::A, Key::S, Key::D, Key::Space, Key::LShift, Key::Q, Key::F, Key::N, Key::M,
                        Key::F1, Key::F8, Key::F12, Key::Escape, Key::Up, Key::Down, Key::Tab, Key::Return,
                        Key::Unknown}) {
        all.push_back(InputEvent::keyDown(k));
        all.push_back(InputEvent::keyUp(k));
    }
    for (const MouseButton b : {MouseButton::Left, MouseButton::Right, MouseButton::None}) {
        all.push_back(InputEvent::buttonDown(b));
        all.push_back(InputEvent::buttonUp(b));
    }
    all.push_back(InputEvent::motion(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    all.push_back(InputEvent::motion(-1, 0));
    all.push_back(InputEvent::quit());
    all.push_back(InputEvent::focusLost());
    frames.push_back(frameOf(0.1f, 1, all));
    frames.push_back(frameOf(0.1f, -kReplayMaxClock, {}));  // a calendar set back
    frames.push_back(frameOf(0.1f, kReplayMaxClock, {}));
    frames.push_back(frameOf(0.1f, kReplayMaxClock, {InputEvent::keyUp(Key::N), InputEvent::keyDown(Key::Escape)}, true));

    const std::string text = encode(sampleHeader(), frames, ReplayEnd::Left, 99);
    const ReadBack r = readAll(text);
    ASSERT_TRUE(r.ok) << r.error << "\n" << text;
    const ReplayHeader& h = r.header;
    const ReplayHeader w = sampleHeader();
    EXPECT_EQ(h.gameVersion, w.gameVersion);
    EXPECT_EQ(h.seed, w.seed);
    EXPECT_EQ(h.name, w.name);
    EXPECT_EQ(std::tie(h.recordHours, h.recordMinutes, h.recordSeconds),
              std::tie(w.recordHours, w.recordMinutes, w.recordSeconds));
    EXPECT_TRUE(sameBits(h.lookScale, w.lookScale));
    EXPECT_EQ(h.invulnerable, w.invulnerable);
    EXPECT_EQ(std::tie(h.windowWidth, h.windowHeight), std::tie(w.windowWidth, w.windowHeight));
    EXPECT_EQ(h.drawsAtStart, w.drawsAtStart);
    ASSERT_EQ(r.frames.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i) expectSameFrame(r.frames[i], frames[i], i);
    ASSERT_TRUE(r.ending);
    EXPECT_EQ(r.ending->reason, ReplayEnd::Left);
    EXPECT_EQ(r.ending->frames, static_cast<int64_t>(frames.size()));
    EXPECT_EQ(r.ending->draws, 99u);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.substr(0, text.find(' ', 16)), "velkaran-replay 1");

    // Moved through Windows line ends it reads the same.
    std::string crlf;
    for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const ReadBack fromCrlf = readAll(crlf);
    ASSERT_TRUE(fromCrlf.ok) << fromCrlf.error;
    EXPECT_EQ(fromCrlf.frames.size(), frames.size());
}

TEST(ReplayFormat, FramesAlikeShrinkToRunsAndAFiveMinuteGameStaysSmall) {
    // An idle hour at a fixed step is a handful of lines, and still every frame.
    std::vector<ReplayFrame> idle(216000, frameOf(1.0f / 60.0f, 0, {}));
    std::string text = encode(ReplayHeader{}, idle);
    EXPECT_LT(text.size(), 200u) << text;
    ReadBack r = readAll(text);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.frames.size(), idle.size());

    // Five minutes at 60 frames a second of a real game: the step changes nearly every
    // frame, the pointer moves in every frame, keys now and then, the clock each second.
    std::vector<ReplayFrame> busy;
    for (int32_t i = 0; i < 5 * 60 * 60; ++i) {
        InputEvents e{InputEvent::motion(100000 + 7 * i, -3000 + (i % 50))};
        if (i % 90 == 0) e.push_back(InputEvent::keyDown(Key::W));
        if (i % 90 == 45) e.push_back(InputEvent::keyUp(Key::W));
        busy.push_back(frameOf((i % 3 == 0 ? 17.0f : 16.0f) * 0.001f, i / 60, e));
    }
    text = encode(ReplayHeader{}, busy, ReplayEnd::Escape);
    EXPECT_LT(text.size(), 400'000u);  // 320 KB today
    r = readAll(text);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.frames.size(), busy.size());
    for (size_t i = 0; i < busy.size(); i += 997) expectSameFrame(r.frames[i], busy[i], i);
}

TEST(ReplayFormat, DamageAndLaterVersionsAreRefusedOnOneLineNamingIt) {
    const std::string head =
        "velkaran-replay 1 game=0.1 seed=1 name=Fiduxaz record=2:0:0 look=1 invulnerable=0 window=0x0 draws=5\n";
    const std::string header = head.substr(head.find(" game"));  // the fields after the version
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"", "not a replay file"},
        {"velkaran-replay 1 game=0.1", "not a replay file"},  // the first line never ends
        {"hello 1" + header, "not a replay file"},
        {"velkaran-replay 2 anything at all\n", "replay format version '2' is newer than this build reads (1)"},
        {"velkaran-replay 99999999999999999999999" + header, "is newer than this build reads"},
        {"velkaran-replay 0" + header, "line 1: bad format version '0'"},
        {"velkaran-replay one" + header, "line 1: bad format version 'one'"},
        {"velkaran-replay 1 game=0.1 seed=1 name=F record=2:0:0 look=1 invulnerable=0 window=0x0\n",
         "line 1: header field draws missing"},
        {head.substr(0, head.size() - 1) + " speed=2\n", "line 1: unknown header field 'speed=2'"},
        {head.substr(0, head.size() - 1) + " seed=2\n", "line 1: header field seed given twice"},
        {"velkaran-replay 1 game=0.1 seed=-1 name=F record=2:0:0 look=1 invulnerable=0 window=0x0 draws=5\n",
         "line 1: bad value for seed: '-1'"},
        {"velkaran-replay 1 game=0.1 seed=1 name=F record=2:61:0 look=1 invulnerable=0 window=0x0 draws=5\n",
         "line 1: bad value for record"},
        {"velkaran-replay 1 game=0.1 seed=1 name=F record=2:0:0 look=0.05 invulnerable=0 window=0x0 draws=5\n",
         "line 1: bad value for look"},
        {"velkaran-replay 1 game=0.1 seed=1 name=F%4 record=2:0:0 look=1 invulnerable=0 window=0x0 draws=5\n",
         "line 1: bad value for name"},
        {head + "1.5\n", "line 2: bad time step '1.5' (0 to 1 second)"},
        {head + "-0.01\n", "line 2: bad time step"},
        {head + "nan\n", "line 2: bad time step"},
        {head + "inf\n", "line 2: bad time step"},
        {head + "1e-50\n", "line 2: bad time step"},
        {head + "=\n", "line 2: '=' before the first time step"},
        {head + "*3\n", "line 2: a run of frames before the first time step"},
        {head + "0.1\n*0\n", "line 3: bad run of frames '*0'"},
        {head + "0.1\n*2147483648\n", "line 3: bad run of frames"},
        {head + "0.1\n*2 +w\n", "line 3: bad run of frames"},
        {head + "0.1 +ctrl\n", "line 2: bad event '+ctrl'"},
        {head + "0.1 1,2,3\n", "line 2: bad event '1,2,3'"},
        {head + "0.1 2147483648,0\n", "line 2: bad event"},
        {head + "0.1 @1 @2\n", "line 2: two clock readings in one frame"},
        {head + "0.1 @2147483648\n", "line 2: bad clock"},
        {head + "0.1 +w yes\n", "line 2: 'yes' not after an Escape press"},
        {head + "0.1 +escape yes +w\n", "line 2: events after a Yes"},
        {head + "0.1 +escape yes\n=\n", "line 3: a frame after the game was left"},
        {head + "0.1 +escape yes\nend death frames=1 draws=0\n", "line 3: the game was left by a Yes"},
        {head + "0.1\nend left frames=1 draws=0\n", "line 3: the end line says the game was left"},
        {head + "0.1\nend escape frames=2 draws=0\n", "line 3: the end line counts 2 frames, the file holds 1"},
        {head + "0.1\nend escape frames=1\n", "line 3: bad end line"},
        {head + "0.1\nend won frames=1 draws=0\n", "line 3: bad end line"},
        {head + "0.1\nend escape frames=1 draws=0\n=\n", "line 4: text after the end line"},
        {head + "0.1\n\n", "line 3: empty line"},
        {head + "0.1" + std::string(kReplayMaxLineBytes, ' ') + "\n", "line 2: longer than 2097152 bytes"},
    };
    for (const auto& c : cases) {
        const ReadBack r = readAll(c.text);
        EXPECT_FALSE(r.ok) << c.text.substr(0, 200);
        EXPECT_NE(r.error.find(c.message), std::string::npos) << r.error << "\n  for: " << c.text.substr(0, 200);
        EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
        EXPECT_LT(r.error.size(), 200u) << r.error;
    }

    // A frame may hold as many events as SDL can queue, not more.
    std::string many = head + "0.1";
    for (size_t i = 0; i <= kReplayMaxEventsPerFrame; ++i) many += " +w";
    many += '\n';
    const ReadBack r = readAll(many);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("line 2: more than 65536 events"), std::string::npos) << r.error;
}

TEST(ReplayFormat, AFileCutAnywhereIsTheGameUpToTheLastCompleteLine) {
    std::vector<ReplayFrame> frames;
    for (int32_t i = 0; i < 40; ++i)
        frames.push_back(frameOf(i < 20 ? 1.0f / 60.0f : 0.017f, i / 7,
                                 i % 5 == 0 ? InputEvents{} : InputEvents{InputEvent::motion(i * 13, -i)}));
    frames.push_back(frameOf(0.017f, 5, {InputEvent::keyDown(Key::Escape)}, true));
    const std::string text = encode(sampleHeader(), frames, ReplayEnd::Left, 7);
    const size_t headerEnd = text.find('\n') + 1;
    for (size_t cut = headerEnd; cut <= text.size(); ++cut) {
        const ReadBack r = readAll(text.substr(0, cut));
        ASSERT_TRUE(r.ok) << "cut at " << cut << ": " << r.error;
        ASSERT_LE(r.frames.size(), frames.size());
        for (size_t i = 0; i < r.frames.size(); ++i) expectSameFrame(r.frames[i], frames[i], i);
        EXPECT_EQ(r.ending.has_value(), cut == text.size()) << cut;
    }
    for (size_t cut = 0; cut < headerEnd; ++cut) EXPECT_FALSE(readAll(text.substr(0, cut)).ok) << cut;
}

class ReplayFiles : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("velkaran-replay-test-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    static std::string contents(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    fs::path dir;
};

TEST_F(ReplayFiles, TheWriterKeepsAtMostASecondOfPlayUnwritten) {
    const fs::path path = dir / "game.replay";
    {
        ReplayWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, sampleHeader(), error)) << error;
        EXPECT_EQ(readAll(contents(path)).frames.size(), 0u) << "the header is on disk at once";
        // 0.9 s of play: nothing written yet (a frame must not wait for the disk).
        for (int i = 0; i < 9; ++i) writer.frame(0.1f, 0, {InputEvent::motion(i, i)});
        EXPECT_EQ(readAll(contents(path)).frames.size(), 0u);
        writer.frame(0.1f, 1, {});
        ReadBack r = readAll(contents(path));
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.frames.size(), 10u);
        // A run of idle frames is written out too when its second is up, not held to its end.
        for (int i = 0; i < 25; ++i) writer.frame(0.1f, 1, {});
        r = readAll(contents(path));
        EXPECT_GE(r.frames.size(), 30u);
        EXPECT_FALSE(r.ending);
        // Killed here: the destructor is the last chance, and the file has no end line.
    }
    ReadBack r = readAll(contents(path));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.frames.size(), 35u);
    EXPECT_FALSE(r.ending);

    ReplayWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(path, sampleHeader(), error)) << error;
    writer.frame(0.016f, 0, {InputEvent::keyDown(Key::W)});
    // What a reader would refuse is never written: a step beyond the bounds, a Yes with
    // no Escape press to answer; after a Yes the frames are no longer the game's.
    writer.frame(std::numeric_limits<float>::quiet_NaN(), 0, {});
    writer.frame(5.0f, 0, {});
    writer.frame(0.016f, 0, {InputEvent::keyDown(Key::W)}, true);
    writer.frame(0.016f, 0, {InputEvent::keyDown(Key::Escape)}, true);
    writer.frame(0.016f, 0, {InputEvent::keyDown(Key::W)});
    ASSERT_TRUE(writer.finish(ReplayEnd::Left, 1234, error)) << error;
    r = readAll(contents(path));
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.frames.size(), 5u);
    EXPECT_EQ(r.frames[1].dt, 0.0f);
    EXPECT_EQ(r.frames[2].dt, 1.0f);
    EXPECT_FALSE(r.frames[3].escapeAnsweredYes);
    EXPECT_TRUE(r.frames[4].escapeAnsweredYes);
    ASSERT_TRUE(r.ending);
    EXPECT_EQ(r.ending->draws, 1234u);

    EXPECT_FALSE(writer.open(dir / "no" / "such" / "folder" / "x.replay", sampleHeader(), error));
    EXPECT_NE(error.find("cannot write the replay"), std::string::npos) << error;
}

// A recorded headless game, played again, passes through the same states frame by frame.
TEST_F(ReplayFiles, TheBotsGameRecordedAndReplayedIsTheSameGame) {
    const fs::path path = dir / "bot.replay";
    constexpr int32_t kFrames = 1500;
    std::vector<std::string> direct;
    {
        HeadlessGame game(3);
        ReplayWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, headlessReplayHeader(game, 3), error)) << error;
        Bot bot;
        bool goesOn = true;
        for (int32_t frame = 0; frame < kFrames && goesOn; ++frame) {
            // The frame time varies as in a real game: every step must come back exactly.
            const float dt = frame % 3 == 0 ? 0.017f : 1.0f / 60.0f;
            const InputEvents events = frame > 0 ? bot.nextFrame(game.session(), dt) : InputEvents{};
            goesOn = game.runFrame(events, dt);
            writer.frame(dt, headlessClock(game), events);
            direct.push_back(traceLine(game.framesRun, game.state, game.session(), game.session().random.drawsSinceSeed()));
        }
        ASSERT_TRUE(writer.finish(headlessEnding(game, goesOn), game.session().random.drawsSinceSeed(), error)) << error;
    }

    ReplayHeader header;
    std::optional<ReplayEnding> ending;
    int64_t frames = 0;
    std::string error;
    ASSERT_TRUE(checkReplayFile(path, header, ending, frames, error)) << error;
    EXPECT_EQ(frames, kFrames);
    ASSERT_TRUE(ending);
    EXPECT_EQ(ending->reason, ReplayEnd::Stopped);
    HeadlessReplayer replayer(header);
    ASSERT_TRUE(replayer.startMatches(error)) << error;
    std::ifstream in(path, std::ios::binary);
    ReplayReader reader(in);
    ASSERT_TRUE(reader.readHeader(header, error));
    ReplayFrame frame;
    size_t index = 0;
    while (reader.nextFrame(frame, error)) {
        replayer.play(frame);
        ASSERT_LT(index, direct.size());
        ASSERT_EQ(traceLine(replayer.game.framesRun, replayer.game.state, replayer.game.session(),
                            replayer.game.session().random.drawsSinceSeed()),
                  direct[index])
            << "frame " << index;
        ++index;
    }
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_EQ(index, direct.size());
    EXPECT_EQ(replayer.game.session().random.drawsSinceSeed(), ending->draws);
}

TEST(HeadlessReplay, AYesToTheEscapeQuestionLeavesBeforeTheFramesUpdate) {
    ReplayHeader header;
    {
        HeadlessGame fresh(9);
        header = headlessReplayHeader(fresh, 9);
    }
    HeadlessReplayer replayer(header);
    std::string error;
    ASSERT_TRUE(replayer.startMatches(error)) << error;
    HeadlessGame& game = replayer.game;
    ASSERT_TRUE(replayer.play(frameOf(1.0f / 60.0f, 0, {InputEvent::keyDown(Key::W)})));
    const glm::vec3 start = game.session().sceneCamera.position;
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(replayer.play(frameOf(1.0f / 60.0f, 0, {})));
    const glm::vec3 before = game.session().sceneCamera.position;
    ASSERT_NE(before, start) << "W is held: each update walks";
    const uint64_t draws = game.session().random.drawsSinceSeed();
    // F8 before the press is still handled as a play key; the walk (W held) is not.
    EXPECT_FALSE(replayer.play(
        frameOf(1.0f / 60.0f, 0, {InputEvent::keyUp(Key::F8), InputEvent::keyDown(Key::Escape)}, true)));
    EXPECT_EQ(game.state, GameState::MainMenu);
    EXPECT_TRUE(game.shell.overlays.stats);
    EXPECT_EQ(game.framesRun, 32);
    EXPECT_EQ(game.session().sceneCamera.position, before);
    EXPECT_EQ(game.session().random.drawsSinceSeed(), draws);
    EXPECT_EQ(replayer.ending(false), ReplayEnd::Left);

    // A game begun from another start-up would be played wrong: it is refused.
    header.drawsAtStart += 1;
    HeadlessReplayer other(header);
    EXPECT_FALSE(other.startMatches(error));
    EXPECT_NE(error.find("a later game of its run, or another build's start-up"), std::string::npos) << error;
}

}  // namespace
