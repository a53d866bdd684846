// The play shell's recording: a game started by a click, played and left with a Yes, is
// written as a replay that the headless replayer plays to the same states, frame by
// frame; recorded games are named by date, time and fortress, and only the newest are kept.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "gameplay/GameRecorder.h"
#include "gameplay/HeadlessReplay.h"
#include "gameplay/TestAids.h"
#include "util/Random.h"

namespace fs = std::filesystem;

namespace {

class RecorderFiles : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("velkaran-recorder-test-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

// The Escape question's answer as the test sets it; no sound.
struct Answering : SilentServices {
    DialogAnswer answer = DialogAnswer::No;
    DialogAnswer askYesNo(const std::string&, const std::string&) override { return answer; }
};

// The state of the game without the frame number: the menus ran frames before the click.
std::string stateOf(const HeadlessGame& game) {
    return traceLine(0, game.state, game.session(), game.session().random.drawsSinceSeed());
}

TEST_F(RecorderFiles, AGameStartedByAClickAndLeftWithAYesReplaysToTheSameStates) {
    const fs::path file = dir / "clicked.replay";
    GameRecorder recorder;
    recorder.recordFirstGameInto(file);
    HeadlessGame game(9);
    auto services = std::make_unique<Answering>();
    Answering& answers = *services;
    game.useServices(std::move(services));
    game.shell.startOnFirstFrame = false;
    game.shell.buttonAreas = makeButtonAreas(1024, 640);
    game.shell.recorder = &recorder;
    const ButtonArea& start = game.shell.buttonAreas[0];
    ASSERT_EQ(start.buttonId, StartButton);
    const int32_t x = (start.pixelRect.left + start.pixelRect.right) / 2;
    const int32_t y = (start.pixelRect.top + start.pixelRect.bottom) / 2;

    std::vector<std::string> played;
    const float dt = 0.021f;
    game.shell.runFrame({InputEvent::motion(10, 10)}, dt);
    game.shell.runFrame({InputEvent::motion(x, y)}, dt);
    // The press before the click and the click itself are the menu's; W after it is the game's.
    game.shell.runFrame({InputEvent::buttonDown(MouseButton::Left), InputEvent::buttonUp(MouseButton::Left),
                         InputEvent::keyDown(Key::W), InputEvent::motion(x + 20, y)},
                        dt);
    ASSERT_EQ(game.state, GameState::Playing);
    played.push_back(stateOf(game));
    for (int k = 0; k < 150; ++k) {
        InputEvents events;
        if (k % 7 == 0) events.push_back(InputEvent::motion(x + 20 + k, y - k / 3));
        if (k == 40) events.push_back(InputEvent::buttonDown(MouseButton::Left));
        if (k == 42) events.push_back(InputEvent::buttonUp(MouseButton::Left));
        if (k == 60) events.push_back(InputEvent::keyDown(Key::Escape));  // answered No
        game.shell.runFrame(events, k == 61 ? 0.1f : dt + 0.001f * static_cast<float>(k % 5));
        played.push_back(stateOf(game));
    }
    answers.answer = DialogAnswer::Yes;
    game.shell.runFrame({InputEvent::keyUp(Key::F8), InputEvent::keyDown(Key::Escape), InputEvent::motion(3, 3)}, dt);
    ASSERT_EQ(game.state, GameState::MainMenu);
    played.push_back(stateOf(game));
    EXPECT_FALSE(recorder.recording());

    ReplayHeader header;
    std::optional<ReplayEnding> ending;
    int64_t frames = 0;
    std::string error;
    ASSERT_TRUE(checkReplayFile(file, header, ending, frames, error)) << error;
    ASSERT_TRUE(ending);
    EXPECT_EQ(ending->reason, ReplayEnd::Left);
    EXPECT_EQ(frames, static_cast<int64_t>(played.size()));

    HeadlessReplayer replayer(header);
    ASSERT_TRUE(replayer.startMatches(error)) << error;
    std::ifstream in(file, std::ios::binary);
    ReplayReader reader(in);
    ASSERT_TRUE(reader.readHeader(header, error));
    ReplayFrame frame;
    ASSERT_TRUE(reader.nextFrame(frame, error));
    // The first frame holds the events after the click only.
    ASSERT_EQ(frame.events.size(), 2u);
    EXPECT_EQ(frame.events[0].type, InputType::KeyDown);
    for (size_t k = 0;; ++k) {
        ASSERT_LT(k, played.size());
        replayer.play(frame);
        EXPECT_EQ(stateOf(replayer.game), played[k]) << "frame " << k;
        if (!reader.nextFrame(frame, error)) break;
    }
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_EQ(replayer.game.state, GameState::MainMenu);
}

TEST_F(RecorderFiles, GamesAreNamedByDateTimeAndFortressAndOnlyTheNewestAreKept) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::time_t when = 1714572202;  // 2024-05-01 14:03:22 UTC
    EXPECT_EQ(replayFileName(when, "Userof"), "2024-05-01_14-03-22_Userof.replay");
    EXPECT_EQ(replayFileName(when, "Fi dux/../\xe9t\x01"), "2024-05-01_14-03-22_Fi_dux_____t_.replay");
    EXPECT_EQ(replayFileName(when, ""), "2024-05-01_14-03-22_fortress.replay");
    EXPECT_EQ(replayFileName(when, std::string(100, 'a')).size(), 20u + 40u + 7u);

    // The folder is made on first use; two games begun in one second both keep a file.
    const fs::path folder = dir / "share" / "Replays" / "";
    GameRecorder recorder;
    recorder.recordGamesIn(folder, 3);
    ReplayHeader header;
    header.name = "Userof";
    for (int k = 0; k < 2; ++k) {
        recorder.gameStarted(header, when);
        recorder.frame(0.016f, 0, {});
        recorder.gameEnded(ReplayEnd::Death, 0);
    }
    EXPECT_TRUE(fs::exists(folder / "2024-05-01_14-03-22_Userof.replay"));
    EXPECT_TRUE(fs::exists(folder / "2024-05-01_14-03-22_Userof-2.replay"));

    // Older games beyond the newest three go; files the recorder did not name stay.
    for (const char* name : {"2023-01-01_00-00-00_Old.replay", "2022-12-31_23-59-59_Older.replay", "notes.txt",
                             "mine.replay", "2021-13-01_x.replay"})
        std::ofstream(folder / name) << "x";
    recorder.gameStarted(header, when + 1);
    recorder.gameEnded(ReplayEnd::Quit, 0);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"2024-05-01_14-03-22_Userof.replay", "2024-05-01_14-03-22_Userof-2.replay",
                                           "2024-05-01_14-03-23_Userof.replay", "notes.txt", "mine.replay",
                                           "2021-13-01_x.replay"}));
}

}  // namespace
