#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "gameplay/InputScript.h"

namespace fs = std::filesystem;

namespace {

bool sameEvent(const InputEvent& a, const InputEvent& b) {
    return a.type == b.type && a.key == b.key && a.button == b.button && a.x == b.x && a.y == b.y;
}

// One line of a script and the one event it must give.
struct GoodLine {
    const char* line;
    uint32_t frame;
    InputEvent event;
};

TEST(InputScript, EachEventKindReadsIntoItsRecord) {
    const GoodLine cases[] = {
        {"0 keydown w", 0, InputEvent::keyDown(Key::W)},
        {"1 keyup a", 1, InputEvent::keyUp(Key::A)},
        {"2 keydown s", 2, InputEvent::keyDown(Key::S)},
        {"2 keydown d", 2, InputEvent::keyDown(Key::D)},
        {"3 keydown space", 3, InputEvent::keyDown(Key::Space)},
        {"3 keydown lshift", 3, InputEvent::keyDown(Key::LShift)},
        {"3 keydown q", 3, InputEvent::keyDown(Key::Q)},
        {"3 keydown f", 3, InputEvent::keyDown(Key::F)},
        {"3 keydown n", 3, InputEvent::keyDown(Key::N)},
        {"3 keydown m", 3, InputEvent::keyDown(Key::M)},
        {"3 keydown f1", 3, InputEvent::keyDown(Key::F1)},
        {"3 keydown f8", 3, InputEvent::keyDown(Key::F8)},
        {"3 keyup f12", 3, InputEvent::keyUp(Key::F12)},
        {"3 keydown escape", 3, InputEvent::keyDown(Key::Escape)},
        {"3 keydown up", 3, InputEvent::keyDown(Key::Up)},
        {"3 keydown down", 3, InputEvent::keyDown(Key::Down)},
        {"3 keydown tab", 3, InputEvent::keyDown(Key::Tab)},
        {"3 keyup return", 3, InputEvent::keyUp(Key::Return)},
        {"8 focuslost", 8, InputEvent::focusLost()},
        {"4 motion 640 360", 4, InputEvent::motion(640, 360)},
        {"4 motion -20 99999", 4, InputEvent::motion(-20, 99999)},  // the captured pointer leaves the window
        {"4 motion +7 -0", 4, InputEvent::motion(7, 0)},
        {"4 motion -2147483648 2147483647", 4, InputEvent::motion(INT32_MIN, INT32_MAX)},
        {"5 press left", 5, InputEvent::buttonDown(MouseButton::Left)},
        {"5 release right", 5, InputEvent::buttonUp(MouseButton::Right)},
        {"  6\t keydown   w  ", 6, InputEvent::keyDown(Key::W)},
        {"7 keydown w\r", 7, InputEvent::keyDown(Key::W)},
        {"007 keydown w", 7, InputEvent::keyDown(Key::W)},
        {"4294967295 keydown w", 4294967295u, InputEvent::keyDown(Key::W)},
    };
    for (const GoodLine& c : cases) {
        InputScript script;
        std::string error = "untouched";
        ASSERT_TRUE(parseInputScript(c.line, script, error)) << c.line << ": " << error;
        EXPECT_EQ(error, "") << c.line;
        ASSERT_EQ(script.frames.size(), 1u) << c.line;
        const InputEvents& events = script.eventsAt(c.frame);
        ASSERT_EQ(events.size(), 1u) << c.line;
        EXPECT_TRUE(sameEvent(events[0], c.event)) << c.line;
    }
}

TEST(InputScript, BadLinesNameTheLineAndTheReason) {
    struct BadLine {
        const char* script;
        const char* error;
    } cases[] = {
        {"3 jump", "line 1: unknown event 'jump'"},
        {"3 KEYDOWN w", "line 1: unknown event 'KEYDOWN'"},
        {"3 keydown x", "line 1: unknown key 'x'"},
        {"3 keydown W", "line 1: unknown key 'W'"},
        {"3 keydown f13", "line 1: unknown key 'f13'"},
        {"3 press middle", "line 1: unknown button 'middle'"},
        {"3 keydown", "line 1: missing argument"},
        {"3 motion 5", "line 1: missing argument"},
        {"3 release", "line 1: missing argument"},
        {"3 focuslost now", "line 1: extra argument"},
        {"3", "line 1: missing event"},
        {"-1 keydown w", "line 1: negative frame"},
        {"-99999999999999999999999 keydown w", "line 1: negative frame"},
        {"12a keydown w", "line 1: bad number '12a'"},
        {"- keydown w", "line 1: bad number '-'"},
        {"3 motion 1.5 2", "line 1: bad number '1.5'"},
        {"3 motion 1 0x10", "line 1: bad number '0x10'"},
        {"3 keydown w w", "line 1: extra argument"},
        {"3 motion 1 2 3", "line 1: extra argument"},
        {"3 keydown w # walk", "line 1: extra argument"},
        // A frame that does not fit in 32 bits must not wrap to some early frame.
        {"4294967296 keydown w", "line 1: frame out of range '4294967296'"},
        {"99999999999999999999999 keydown w", "line 1: frame out of range '99999999999999999999999'"},
        {"3 motion 2147483648 0", "line 1: number out of range '2147483648'"},
        {"3 motion 0 -2147483649", "line 1: number out of range '-2147483649'"},
        // Line numbers count blank and comment lines, and CR LF line ends.
        {"# walk\n\n0 keydown w\n  \n0 jump\n", "line 5: unknown event 'jump'"},
        {"0 keydown w\r\n1 keyup w\r\n2 kick\r\n", "line 3: unknown event 'kick'"},
        // The first bad line is the one reported.
        {"0 keydown w\n1 keydown x\n2 jump\n", "line 2: unknown key 'x'"},
        // Whatever bytes a token holds, the message stays one short printable line.
        {"0 keydown \x01\xe9", "line 1: unknown key '\\x01\\xe9'"},
        {"0 keydown aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
         "line 1: unknown key 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa...'"},
    };
    for (const BadLine& c : cases) {
        InputScript script;
        script.frames[9].push_back(InputEvent::keyDown(Key::Q));
        std::string error;
        EXPECT_FALSE(parseInputScript(c.script, script, error)) << c.script;
        EXPECT_EQ(error, c.error) << c.script;
        // Nothing of a rejected script is used: what the caller held stays as it was.
        ASSERT_EQ(script.frames.size(), 1u) << c.script;
        EXPECT_EQ(script.eventsAt(9).size(), 1u) << c.script;
    }
}

TEST(InputScript, EventsOfOneFrameKeepLineOrderAcrossFramesOutOfOrder) {
    const std::string text =
        "# a short walk\n"
        "30 keyup w\n"
        "0 keydown w\n"
        "\n"
        "12 motion 10 20\n"
        "0 motion 1 2\n"
        "   # indented comment\n"
        "12 press left\n"
        "0 keydown lshift\n"
        "12 release left\n";
    InputScript script;
    std::string error;
    ASSERT_TRUE(parseInputScript(text, script, error)) << error;
    ASSERT_EQ(script.frames.size(), 3u);

    const InputEvents& first = script.eventsAt(0);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_TRUE(sameEvent(first[0], InputEvent::keyDown(Key::W)));
    EXPECT_TRUE(sameEvent(first[1], InputEvent::motion(1, 2)));
    EXPECT_TRUE(sameEvent(first[2], InputEvent::keyDown(Key::LShift)));

    const InputEvents& twelfth = script.eventsAt(12);
    ASSERT_EQ(twelfth.size(), 3u);
    EXPECT_TRUE(sameEvent(twelfth[0], InputEvent::motion(10, 20)));
    EXPECT_TRUE(sameEvent(twelfth[1], InputEvent::buttonDown(MouseButton::Left)));
    EXPECT_TRUE(sameEvent(twelfth[2], InputEvent::buttonUp(MouseButton::Left)));

    ASSERT_EQ(script.eventsAt(30).size(), 1u);
    EXPECT_TRUE(script.eventsAt(1).empty());
    EXPECT_TRUE(script.eventsAt(31).empty());
}

TEST(InputScript, CrLfAndLfScriptsGiveTheSameEvents) {
    const std::string lf = "5 keydown w\n0 motion -3 4\n\n# done\n5 keyup w\n";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    InputScript a, b;
    std::string error;
    ASSERT_TRUE(parseInputScript(lf, a, error)) << error;
    ASSERT_TRUE(parseInputScript(crlf, b, error)) << error;
    ASSERT_EQ(a.frames.size(), b.frames.size());
    for (const auto& [frame, events] : a.frames) {
        ASSERT_EQ(b.eventsAt(frame).size(), events.size()) << frame;
        for (size_t i = 0; i < events.size(); ++i) EXPECT_TRUE(sameEvent(b.eventsAt(frame)[i], events[i]));
    }
}

TEST(InputScript, EmptyAndCommentOnlyScriptsHoldNoEvents) {
    for (const char* text : {"", "\n\n", "# nothing\r\n   \t\r\n#0 keydown w\n"}) {
        InputScript script;
        script.frames[1].push_back(InputEvent::keyDown(Key::W));
        std::string error;
        EXPECT_TRUE(parseInputScript(text, script, error)) << text;
        EXPECT_TRUE(script.frames.empty()) << "a good script replaces what was there: " << text;
    }
}

TEST(InputScript, ReadsFromStreamsAndFiles) {
    const fs::path dir = fs::temp_directory_path() / ("velkaran-input-script-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "walk.txt";
    std::ofstream(file, std::ios::binary) << "2 keydown d\r\n1 keydown a\r\n";

    InputScript script;
    std::string error;
    ASSERT_TRUE(loadInputScript(file, script, error)) << error;
    EXPECT_EQ(script.eventsAt(1).size(), 1u);
    EXPECT_EQ(script.eventsAt(2).size(), 1u);

    std::istringstream in("0 keyup escape\n0 nod\n");
    EXPECT_FALSE(readInputScript(in, script, error));
    EXPECT_EQ(error, "line 2: unknown event 'nod'");

    EXPECT_FALSE(loadInputScript(dir / "missing.txt", script, error));
    EXPECT_EQ(error, "cannot read the file");
    EXPECT_FALSE(loadInputScript(dir, script, error)) << "a folder is not a script";
    EXPECT_EQ(script.eventsAt(2).size(), 1u) << "failed reads leave the script as it was";
    fs::remove_all(dir);
}

// A stream that never ends, as /dev/zero or `yes` give.
class EndlessStream : public std::streambuf {
public:
    explicit EndlessStream(char fill) { chunk.fill(fill); }

protected:
    int_type underflow() override {
        setg(chunk.data(), chunk.data(), chunk.data() + chunk.size());
        return traits_type::to_int_type(chunk[0]);
    }

private:
    std::array<char, 4096> chunk{};
};

TEST(InputScript, AnEndlessStreamIsRefusedAtTheBoundsOfAScript) {
    for (const char fill : {'\0', '\n'}) {  // too many bytes; too many (empty) lines
        EndlessStream endless(fill);
        std::istream in(&endless);
        InputScript script;
        std::string error;
        EXPECT_FALSE(readInputScript(in, script, error));
        EXPECT_EQ(error, "longer than a script may be (at most 64 MiB and 4000000 lines)");
    }
}

}  // namespace
