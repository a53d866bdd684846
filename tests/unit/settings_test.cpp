#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "util/IniFile.h"
#include "util/Random.h"
#include "world/Preferences.h"
#include "world/WindowSettings.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("velkaran-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        path = dir / "Settings" / "Settings.ini";
        identity.settingsPath = path;
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const std::string& content) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string read() const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir, path;
    FortressIdentity identity;
};

TEST_F(SettingsFile, WriteKeepsEveryOtherLineAndCreatesTheFolder) {
    EXPECT_TRUE(writeProfileString(path, "preferencias", "map_seed", "7"));
    EXPECT_EQ(read(), "[preferencias]\nmap_seed=7\n");

    write("; a comment\nwindow_resolution=1280x720\r\n\n[Other]\nkey=value\n\n[PREFERENCIAS]\nMap_Seed = 12\nunknown=1\n");
    EXPECT_TRUE(writeProfileString(path, "preferencias", "map_seed", "99"));
    EXPECT_TRUE(writeProfileString(path, "preferencias", "map_name", "Ab\xE9"));
    EXPECT_TRUE(writeProfileString(path, "other", "new", "x"));
    EXPECT_EQ(read(),
              "; a comment\nwindow_resolution=1280x720\r\n\n[Other]\nkey=value\nnew=x\n\n[PREFERENCIAS]\n"
              "map_seed=99\nunknown=1\nmap_name=Ab\xE9\n");
    EXPECT_FALSE(fs::exists(path.string() + ".tmp"));
}

std::string modeOf(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return "none";
    char text[8];
    std::snprintf(text, sizeof text, "%o", static_cast<unsigned>(st.st_mode & 07777));
    return text;
}

std::set<std::string> filesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

TEST_F(SettingsFile, ARewriteKeepsTheFilesModeAndLeavesAReadOnlyFileAsItIs) {
    const mode_t umaskBefore = ::umask(022);
    for (const char* mode : {"600", "640", "604"}) {
        write("[preferencias]\nmap_seed=1\n");
        fs::permissions(path, static_cast<fs::perms>(std::stoi(mode, nullptr, 8)));
        EXPECT_TRUE(writeProfileString(path, "preferencias", "map_seed", "2"));
        EXPECT_EQ(modeOf(path), mode);
        EXPECT_EQ(read(), "[preferencias]\nmap_seed=2\n");
    }

    write("[preferencias]\nmap_seed=1\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(writeProfileString(path, "preferencias", "map_seed", "2"));
    EXPECT_EQ(read(), "[preferencias]\nmap_seed=1\n");
    EXPECT_EQ(modeOf(path), "444");
    EXPECT_EQ(filesIn(path.parent_path()), std::set<std::string>{"Settings.ini"});

    // The game says so in one line that names the file wherever the game was started.
    identity.settingsPath = fs::relative(path);
    identity.mapName = "Oberon";
    identity.mapSeed = 5;
    ::testing::internal::CaptureStderr();
    identity.saveFortressIdentity();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "ERROR: Unable to write the settings file " + path.lexically_normal().string() +
                  ": the fortress is not kept\n");
    EXPECT_EQ(read(), "[preferencias]\nmap_seed=1\n");
    ::umask(umaskBefore);
}

TEST_F(SettingsFile, ALinkedSettingsFileIsWrittenThroughTheLink) {
    const fs::path real = dir / "dotfiles" / "velkaran.ini";
    fs::create_directories(real.parent_path());
    fs::create_directories(path.parent_path());
    std::ofstream(real, std::ios::binary) << "window_resolution=800x600\n";
    fs::create_symlink("../dotfiles/velkaran.ini", path);
    EXPECT_TRUE(writeProfileString(path, "preferencias", "map_seed", "9"));
    EXPECT_TRUE(fs::is_symlink(path));
    std::ifstream in(real, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "window_resolution=800x600\n[preferencias]\nmap_seed=9\n");
    EXPECT_EQ(filesIn(path.parent_path()), std::set<std::string>{"Settings.ini"});

    fs::remove(path);
    fs::create_symlink("Settings.ini", path);  // a loop: nothing to write to
    EXPECT_FALSE(writeProfileString(path, "preferencias", "map_seed", "9"));
    EXPECT_TRUE(fs::is_symlink(path));
}

TEST_F(SettingsFile, AWriteRemovesTheTemporaryFilesOfKilledWrites) {
    write("[preferencias]\nmap_seed=1\n");
    const std::string base = path.string() + ".tmp";
    const std::vector<std::string> stale = {base + "2147483647", base + std::to_string(::getpid())};
    const std::vector<std::string> kept = {base + "1", base + "x1", (dir / "Settings" / "Other.ini.tmp5").string()};
    for (const auto& name : stale) std::ofstream(name) << "[half";
    for (const auto& name : kept) std::ofstream(name) << "[half";
    EXPECT_TRUE(writeProfileString(path, "preferencias", "map_seed", "2"));
    for (const auto& name : stale) EXPECT_FALSE(fs::exists(name)) << name;
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(name)) << name << " (a running process's, or not ours)";
}

TEST(SettingsText, CrLfEndingsSurviveRewritesAndAdditions) {
    struct Case {
        const char* name;
        const char* before;
        const char* after;
    } cases[] = {
        {"a CR LF file keeps CR LF on rewritten and added lines",
         "window_resolution=800x600\r\n[preferencias]\r\nmap_seed=1\r\n",
         "window_resolution=800x600\r\n[preferencias]\r\nmap_seed=7\r\nmap_name=Abc\r\n"},
        {"in a mixed file a rewritten line keeps its ending, an added one takes the one before it",
         "[preferencias]\nmap_seed=1\r\nx=1\r\n\n[otra]\r\n",
         "[preferencias]\nmap_seed=7\r\nx=1\r\nmap_name=Abc\r\n\n[otra]\r\n"},
        {"a new section in a CR LF file",
         "; c\r\n", "; c\r\n[preferencias]\r\nmap_seed=7\r\nmap_name=Abc\r\n"},
        {"a CR LF file whose last line has no terminator",
         "[preferencias]\r\nmap_seed=1\r\nk=v", "[preferencias]\r\nmap_seed=7\r\nk=v\r\nmap_name=Abc\r\n"},
        {"an LF file stays LF", "[preferencias]\nmap_seed=1\n", "[preferencias]\nmap_seed=7\nmap_name=Abc\n"},
    };
    for (const Case& c : cases) {
        IniFile ini = IniFile::fromText(c.before);
        ini.set("preferencias", "map_seed", "7");
        ini.set("preferencias", "map_name", "Abc");
        EXPECT_EQ(ini.text(), c.after) << c.name;
        EXPECT_EQ(IniFile::fromText(ini.text()).get("preferencias", "map_seed", "?"), "7") << c.name;
    }
}

TEST_F(SettingsFile, ReadsCaseInsensitivelyAndCutsLongValues) {
    write("[Preferencias]\n  MAP_NAME =  Hola  \r\nmap_seed=" + std::string(100, '7') + "\n");
    const IniFile ini = IniFile::load(path);
    EXPECT_EQ(ini.get("preferencias", "map_name", "?"), "Hola");
    EXPECT_EQ(ini.get("preferencias", "map_seed", "?"), std::string(63, '7'));
    EXPECT_EQ(ini.get("preferencias", "missing", "dflt"), "dflt");
    EXPECT_EQ(ini.get("nosection", "map_name", "dflt"), "dflt");
}

TEST(SettingsText, EveryValueReadCanBeWrittenBackUnchanged) {
    // Damaged files and values the reader would change: each must survive a rewrite.
    const std::string lines[] = {
        std::string("map_name=A\0b", 12), "map_name=A\rb", "map_name=\"\"A\"\"", "map_name=\"  padded  \"",
        "map_name='q'",
    };
    for (const std::string& line : lines) {
        const IniFile first = IniFile::fromText("[preferencias]\n" + line + "\n");
        const std::string value = first.get("preferencias", "map_name", "?");
        IniFile second;
        second.set("preferencias", "map_name", value);
        EXPECT_EQ(IniFile::fromText(second.text()).get("preferencias", "map_name", "?"), value) << line;
    }
}

TEST_F(SettingsFile, ValuesCannotInjectLines) {
    IniFile ini;
    ini.set("preferencias", "map_name", "Evil\n[preferencias]\nmap_seed=1");
    EXPECT_EQ(ini.lines().size(), 2u);
}

TEST_F(SettingsFile, LoadsAStoredFortressAndRecord) {
    write("[preferencias]\nmap_name=Ubatoki\nmap_seed=4000000000\ntime_record_h=1\ntime_record_m=2\ntime_record_s=3\n");
    EXPECT_TRUE(identity.loadPreferences());
    EXPECT_EQ(identity.mapName, "Ubatoki");
    EXPECT_EQ(identity.mapSeed, 4000000000u);
    EXPECT_EQ(identity.recordHours, 1);
    EXPECT_EQ(identity.recordMinutes, 2);
    EXPECT_EQ(identity.recordSeconds, 3);
}

TEST_F(SettingsFile, RecordFieldRules) {
    struct Case {
        const char* lines;
        int h, m, s;
    } cases[] = {
        {"", 2, 0, 0},
        {"time_record_m=61\ntime_record_s=60\n", 2, 0, 60},
        {"time_record_m=60\ntime_record_s=-5\n", 2, 60, 0},
        {"time_record_h=999\n", 999, 0, 0},
        // A value without digits is absent: read as 0 hours, no escape could ever beat the record.
        {"time_record_h=\n", 2, 0, 0},
        {"time_record_h=abc\ntime_record_m=12abc\n", 2, 12, 0},
        {"time_record_h= -\ntime_record_m=\ntime_record_s=x\n", 2, 0, 0},
        {"time_record_h=0\n", 0, 0, 0},
        {"time_record_h=99999999999999999999999\n", 2, 0, 0},
    };
    for (const Case& c : cases) {
        write(std::string("[preferencias]\nmap_name=X\nmap_seed=1\n") + c.lines);
        identity.loadPreferences();
        EXPECT_EQ(identity.recordHours, c.h) << c.lines;
        EXPECT_EQ(identity.recordMinutes, c.m) << c.lines;
        EXPECT_EQ(identity.recordSeconds, c.s) << c.lines;
    }
}

TEST_F(SettingsFile, UnusableStoredFortressesCountAsAbsent) {
    const char* cases[] = {
        "",
        "[preferencias]\nmap_name=\nmap_seed=5\n",
        "[preferencias]\nmap_name=Abc\n",
        "[preferencias]\nmap_name=Abc\nmap_seed=0\n",
        "[preferencias]\nmap_name=Abc\nmap_seed=-1\n",
        "[preferencias]\nmap_name=Abc\nmap_seed=99999999999\n",
        "[preferencias]\nmap_name=Abc\nmap_seed=zzz\n",
        "[otra]\nmap_name=Abc\nmap_seed=5\n",
    };
    for (const char* content : cases) {
        write(content);
        EXPECT_FALSE(identity.loadPreferences()) << content;
    }
}

TEST_F(SettingsFile, CorruptFilesNeitherCrashNorLoseTheRecord) {
    std::mt19937 gen(1);
    std::string garbage(1 << 20, '\0');
    for (char& c : garbage) c = static_cast<char>(gen());
    const std::string cases[] = {
        garbage,
        std::string(5 << 20, 'a'),  // one huge line without '='
        "[preferencias\nmap_name\n=\n==\n[\n]\n",
        std::string("map_name=\x80\x81\xff\0x\nmap_seed=12\n", 26),
    };
    for (const std::string& content : cases) {
        write("[preferencias]\ntime_record_h=0\ntime_record_m=1\ntime_record_s=2\n" + content);
        identity.loadPreferences();
        identity.createNewFortress(1234);
        FortressIdentity reloaded;
        reloaded.settingsPath = path;
        ASSERT_TRUE(reloaded.loadPreferences());
        EXPECT_EQ(reloaded.mapSeed, 1234u);
        EXPECT_EQ(reloaded.mapName, identity.mapName);
        EXPECT_EQ(reloaded.recordMinutes, 1) << "the record survives a rewrite of a corrupt file";
        EXPECT_EQ(reloaded.recordSeconds, 2);
    }
}

TEST_F(SettingsFile, NewFortressIsSavedAndReloaded) {
    identity.createNewFortress(0x1'0000'0005LL);  // the low 32 bits of the clock
    EXPECT_EQ(identity.mapSeed, 5u);
    FortressIdentity reloaded;
    reloaded.settingsPath = path;
    EXPECT_TRUE(reloaded.loadPreferences());
    EXPECT_EQ(reloaded.mapName, identity.mapName);
    EXPECT_EQ(reloaded.mapSeed, 5u);
}

// At the first start the game's engine has not been seeded yet: a name drawn from it
// was the same on every fresh install. The name draws from an engine of its own, seeded
// with the fortress seed (the game's engine is not even within its reach).
TEST_F(SettingsFile, ANewFortressIsNamedByItsSeed) {
    identity.createNewFortress(1000);
    const std::string name = identity.mapName;
    identity.createNewFortress(1000);
    EXPECT_EQ(identity.mapName, name);
    EXPECT_EQ(fortressNameForSeed(1000), name);

    std::set<std::string> names;
    for (uint32_t seed = 1'700'000'000; seed < 1'700'000'200; ++seed) names.insert(fortressNameForSeed(seed));
    EXPECT_GE(names.size(), 195u) << "two seeds almost never share a name";
}

TEST(FortressName, ShapeOfGeneratedNames) {
    RandomEngine engine(7);
    const std::string vowels = "aeiouAEIOU";
    for (int n = 0; n < 2000; ++n) {
        const std::string name = makeFortressName(6, 10, true, engine);
        ASSERT_GE(name.size(), 6u);
        ASSERT_LE(name.size(), 10u);
        ASSERT_TRUE(std::isupper(static_cast<unsigned char>(name[0]))) << name;
        for (size_t i = 0; i < name.size(); ++i) {
            ASSERT_NE(std::tolower(static_cast<unsigned char>(name[i])), 'q') << name;
            if (i > 0) {
                const bool a = vowels.find(name[i - 1]) != std::string::npos;
                const bool b = vowels.find(name[i]) != std::string::npos;
                ASSERT_NE(a, b) << "letters alternate: " << name;
                ASSERT_TRUE(std::islower(static_cast<unsigned char>(name[i]))) << name;
            }
        }
    }
}

TEST(FortressName, DrawsTwoValuesPerLetter) {
    // The exact draw order decides the name for a seed: length, start roll, then
    // a vowel and a consonant index at every position.
    RandomEngine a(123), b(123);
    const std::string name = makeFortressName(6, 10, true, a);
    const int length = b.uniformInt(6, 10);
    const bool vowelFirst = b.percentRoll() < 50;
    std::string expected;
    bool vowel = vowelFirst;
    for (int p = 0; p < length; ++p) {
        const int v = b.uniformInt(0, 4), c = b.uniformInt(0, 19);
        expected += vowel ? (p ? "aeiou" : "AEIOU")[v] : (p ? "bcdfghjklmnprstvwxyz" : "BCDFGHJKLMNPRSTVWXYZ")[c];
        vowel = !vowel;
    }
    EXPECT_EQ(name, expected);
    EXPECT_EQ(a.next(), b.next());
}

TEST_F(SettingsFile, RecordIsReplacedOnlyByAStrictlyBetterTime) {
    write("window_resolution=1024x768\n[preferencias]\nmap_name=Abc\nmap_seed=3\ntime_record_h=1\ntime_record_m=0\ntime_record_s=10\n");
    identity.loadPreferences();
    identity.playStartTime = 1000;

    EXPECT_FALSE(identity.storeRecordIfBetter(1000 + 3610)) << "equal time keeps the record";
    EXPECT_FALSE(identity.storeRecordIfBetter(1000 + 3611));
    // 25 h 0 min 9 s: whole days are dropped, so it counts as 1 h 0 min 9 s.
    EXPECT_TRUE(identity.storeRecordIfBetter(1000 + 25 * 3600 + 9));
    EXPECT_EQ(identity.recordHours, 1);
    EXPECT_EQ(identity.recordMinutes, 0);
    EXPECT_EQ(identity.recordSeconds, 9);
    EXPECT_EQ(identity.recordText, "R: 1h 0m 9s ");

    FortressIdentity reloaded;
    reloaded.settingsPath = path;
    EXPECT_TRUE(reloaded.loadPreferences());
    EXPECT_EQ(reloaded.recordSeconds, 9);
    EXPECT_NE(read().find("window_resolution=1024x768"), std::string::npos);
}

TEST(RecordTime, SplitAndFormat) {
    int32_t h, m, s;
    splitElapsed(25 * 3600 + 10, h, m, s);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(s, 10);
    FortressIdentity id;
    id.recordHours = 2;
    id.formatRecordText();
    EXPECT_EQ(id.recordText, "R: 2h 0m 0s ");
}

}  // namespace

TEST_F(SettingsFile, TheReadmeSampleCopiedAsItStandsGivesTheValuesItDescribes) {
    std::ifstream readme(std::string(VELKARAN_SOURCE_DIR) + "/README.md");
    ASSERT_TRUE(readme) << "README.md not found";
    // The sample is the first indented block after the settings heading.
    std::string line, sample;
    bool inSection = false, inBlock = false;
    while (std::getline(readme, line)) {
        if (line.rfind("## ", 0) == 0) inSection = line == "## Settings file";
        if (!inSection) continue;
        if (line.rfind("    ", 0) == 0) {
            inBlock = true;
            sample += line.substr(4) + "\n";
        } else if (inBlock && !line.empty()) {
            break;
        } else if (inBlock) {
            sample += "\n";
        }
    }
    ASSERT_FALSE(sample.empty());
    write(sample);
    ASSERT_TRUE(identity.loadPreferences());
    EXPECT_EQ(identity.mapName, "Fiduxaz");
    EXPECT_EQ(identity.mapSeed, 1796861167u);
    EXPECT_EQ(identity.recordHours, 2);
    EXPECT_EQ(identity.recordMinutes, 0);
    EXPECT_EQ(identity.recordSeconds, 0);
    const WindowResolution size = parseWindowResolution(sample);
    EXPECT_EQ(size.width, 1280);
    EXPECT_EQ(size.height, 720);
}
