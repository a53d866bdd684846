// Where a run finds its data and keeps the player's files: the build tree and the
// installed layout, the XDG folders, and what happens when a file cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "util/Paths.h"
#include "world/Preferences.h"

namespace fs = std::filesystem;

namespace {

class PlayerFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("velkaran-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::create_directories(root);
        saved = gameFiles();
    }
    void TearDown() override {
        useGameFiles(saved);
        fs::remove_all(root);
    }
    EnvironmentLookup environment(std::map<std::string, std::string> values) {
        env = std::move(values);
        return [this](const char* name) -> const char* {
            auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        };
    }
    fs::path folder(const fs::path& relative) {
        fs::create_directories(root / relative);
        return root / relative;
    }
    static std::string mode(const fs::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        char text[8];
        std::snprintf(text, sizeof text, "%o", st.st_mode & 0777);
        return text;
    }

    fs::path root;
    std::map<std::string, std::string> env;
    GameFiles saved;
};

TEST_F(PlayerFiles, TheLayoutFollowsTheFirstExecutablePathWithADataTree) {
    folder("build/bin");
    folder("build/Data/Shaders");
    folder("prefix/bin");
    folder("prefix/share/velkaran/Data/Shaders");
    folder("linked/bin");
    folder("linked/Data/Shaders");
    folder("elsewhere/bin");
    folder("home/bin");
    folder("home/Data/holiday photos");  // the player's own folder, beside a prefix's bin/
    folder("home/share/velkaran/Data/Shaders");
    const auto home = environment({{"HOME", "/home/ana"}});

    struct Case {
        const char* name;
        std::vector<fs::path> candidates;
        std::optional<TreeLayout> layout;
        fs::path workingDirectory;
    } cases[] = {
        {"build tree", {root / "build/bin/velkaran"}, TreeLayout::BuildTree, root / "build/bin"},
        {"installed", {root / "prefix/bin/velkaran"}, TreeLayout::Installed, root / "prefix/share/velkaran/Data"},
        // The e2e trees link the build's binary into a bin/ of their own: theirs is the tree.
        {"a link into another tree", {root / "linked/bin/velkaran", root / "build/bin/velkaran"}, TreeLayout::BuildTree,
         root / "linked/bin"},
        // A link in a folder without data (say ~/bin): the resolved program's own prefix.
        {"a link from a bare folder", {root / "elsewhere/bin/velkaran", root / "prefix/bin/velkaran"},
         TreeLayout::Installed, root / "prefix/share/velkaran/Data"},
        {"a home folder as the prefix", {root / "home/bin/velkaran"}, TreeLayout::Installed,
         root / "home/share/velkaran/Data"},
        {"no data anywhere", {root / "elsewhere/bin/velkaran", fs::path()}, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        std::string problem;
        const auto files = locateGameFiles(c.candidates, "../share/velkaran", home, problem);
        ASSERT_EQ(files.has_value(), c.layout.has_value()) << c.name;
        if (!files) continue;
        EXPECT_EQ(files->layout, *c.layout) << c.name;
        EXPECT_EQ(files->workingDirectory.lexically_normal(), c.workingDirectory.lexically_normal()) << c.name;
        // What the game's own relative paths then name.
        EXPECT_TRUE(fs::is_directory(files->workingDirectory / "../Data/Shaders")) << c.name;
        EXPECT_TRUE(problem.empty()) << c.name << ": " << problem;
        if (files->layout == TreeLayout::BuildTree) {
            EXPECT_EQ(files->settingsFile, "../Data/Settings/Settings.ini") << c.name;
            EXPECT_EQ(files->screenshotsFolder, "../Data/Screenshots/") << c.name;
            EXPECT_EQ(files->replaysFolder, "../Data/Replays/") << c.name;
        } else {
            EXPECT_EQ(files->settingsFile, "/home/ana/.config/velkaran/Settings.ini") << c.name;
            EXPECT_EQ(files->screenshotsFolder, "/home/ana/.local/share/velkaran/Screenshots/") << c.name;
            EXPECT_EQ(files->replaysFolder, "/home/ana/.local/share/velkaran/Replays/") << c.name;
        }
    }
}

TEST_F(PlayerFiles, AnInstalledGameKeepsThePlayersFilesInTheXdgFolders) {
    folder("prefix/bin");
    folder("prefix/share/velkaran/Data");
    struct Case {
        const char* name;
        std::map<std::string, std::string> env;
        const char* settings;
        const char* screenshots;
    } cases[] = {
        {"both variables", {{"XDG_CONFIG_HOME", "/c"}, {"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}},
         "/c/velkaran/Settings.ini", "/d/velkaran/Screenshots/"},
        {"defaults under HOME", {{"HOME", "/h"}}, "/h/.config/velkaran/Settings.ini",
         "/h/.local/share/velkaran/Screenshots/"},
        {"empty variables count as unset", {{"XDG_CONFIG_HOME", ""}, {"XDG_DATA_HOME", ""}, {"HOME", "/h"}},
         "/h/.config/velkaran/Settings.ini", "/h/.local/share/velkaran/Screenshots/"},
        {"relative values are ignored", {{"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", "./d"}, {"HOME", "/h"}},
         "/h/.config/velkaran/Settings.ini", "/h/.local/share/velkaran/Screenshots/"},
        {"variables without HOME", {{"XDG_CONFIG_HOME", "/c"}, {"XDG_DATA_HOME", "/d"}}, "/c/velkaran/Settings.ini",
         "/d/velkaran/Screenshots/"},
        {"nowhere at all", {}, "", ""},
    };
    for (const Case& c : cases) {
        std::string problem;
        const auto files = locateGameFiles({root / "prefix/bin/velkaran"}, "../share/velkaran", environment(c.env), problem);
        ASSERT_TRUE(files) << c.name;
        EXPECT_EQ(files->settingsFile, c.settings) << c.name;
        EXPECT_EQ(files->screenshotsFolder, c.screenshots) << c.name;
        // The replays go beside the screenshots, wherever those go.
        std::string replays = c.screenshots;
        if (const size_t at = replays.find("Screenshots"); at != std::string::npos) replays.replace(at, 11, "Replays");
        EXPECT_EQ(files->replaysFolder, replays) << c.name;
        // Only a run that cannot keep the fortress says anything.
        EXPECT_EQ(problem.empty(), *c.settings != '\0') << c.name << ": " << problem;
    }
}

TEST_F(PlayerFiles, TheInvokedPathIsMadeAbsoluteOrFoundInPath) {
    folder("bin");
    const fs::path game = root / "bin" / "velkaran";
    std::ofstream(game) << "#!/bin/sh\n";
    fs::permissions(game, fs::perms::owner_all);
    std::ofstream(root / "bin" / "notes") << "";  // not executable: not a match

    const auto path = environment({{"PATH", "/nonexistent:" + (root / "bin").string()}});
    EXPECT_EQ(invokedExecutable("velkaran", path), game);
    EXPECT_EQ(invokedExecutable("notes", path), fs::path());
    EXPECT_EQ(invokedExecutable("velkaran", environment({{"PATH", "/nonexistent"}})), fs::path());
    EXPECT_EQ(invokedExecutable("/opt/game/bin/../bin/velkaran", path), "/opt/game/bin/velkaran");
    EXPECT_EQ(invokedExecutable("", path), fs::path());
}

TEST_F(PlayerFiles, TheScreenshotsFolderIsMadeOnFirstUseOrReported) {
    GameFiles files;
    files.screenshotsFolder = root / "share" / "velkaran" / "Screenshots" / "";
    useGameFiles(files);
    const fs::path made = preparedScreenshotsFolder();
    EXPECT_EQ(made, files.screenshotsFolder);
    EXPECT_EQ(made / "captura_pantalla_1234.bmp", root / "share/velkaran/Screenshots/captura_pantalla_1234.bmp");
    ASSERT_TRUE(fs::is_directory(made));
    EXPECT_EQ(mode(root / "share"), "700") << "the XDG rules ask for private folders";
    EXPECT_EQ(preparedScreenshotsFolder(), made) << "an existing folder is used as it is";

    std::ofstream(root / "file") << "";
    for (const fs::path& impossible : {root / "file" / "Screenshots" / "", fs::path()}) {
        files.screenshotsFolder = impossible;
        useGameFiles(files);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(preparedScreenshotsFolder(), fs::path());
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("ERROR: ", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

// A fortress that cannot be stored comes back as a different one at the next start:
// the player is told, in one line, instead of finding out then.
TEST_F(PlayerFiles, TheSettingsFileIsCreatedInAPrivateFolderOrTheFailureIsSaid) {
    FortressIdentity identity;
    identity.mapName = "Oberon";
    identity.mapSeed = 77;
    identity.settingsPath = root / "config" / "velkaran" / "Settings.ini";
    ::testing::internal::CaptureStderr();
    identity.saveFortressIdentity();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(mode(root / "config"), "700");
    FortressIdentity reloaded;
    reloaded.settingsPath = identity.settingsPath;
    EXPECT_TRUE(reloaded.loadPreferences());
    EXPECT_EQ(reloaded.mapSeed, 77u);

    std::ofstream(root / "file") << "";
    identity.settingsPath = root / "file" / "velkaran" / "Settings.ini";
    identity.recordHours = 2;
    identity.playStartTime = 0;
    ::testing::internal::CaptureStderr();
    identity.saveFortressIdentity();
    EXPECT_TRUE(identity.storeRecordIfBetter(3600)) << "the record of this run still counts";
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "ERROR: Unable to write the settings file " + identity.settingsPath.string() +
                        ": the fortress is not kept\n"
                        "ERROR: Unable to write the settings file " + identity.settingsPath.string() +
                        ": the record is not kept\n");

    // An identity without a file (the headless game's) writes and says nothing.
    identity.settingsPath.clear();
    ::testing::internal::CaptureStderr();
    identity.saveFortressIdentity();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(PlayerFiles, WithoutAChoiceTheBuildTreesRelativePathsAreUsed) {
    useGameFiles(GameFiles{});
    EXPECT_EQ(settingsFilePath(), kSettingsPath);
    EXPECT_EQ(FortressIdentity{}.settingsPath, kSettingsPath);
    GameFiles installed;
    installed.settingsFile = "/home/ana/.config/velkaran/Settings.ini";
    useGameFiles(installed);
    EXPECT_EQ(FortressIdentity{}.settingsPath, installed.settingsFile) << "a new identity takes the run's file";
}

}  // namespace
