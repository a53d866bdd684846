#include "world/Preferences.h"

#include <climits>
#include <cstdio>
#include <ctime>
#include <optional>
#include <system_error>

#include "util/IniFile.h"
#include "util/Parse.h"
#include "util/Random.h"

namespace {

constexpr const char* kSection = "preferencias";
constexpr const char* kVowels = "aeiou";
constexpr const char* kCapitalVowels = "AEIOU";
constexpr const char* kConsonants = "bcdfghjklmnprstvwxyz";
constexpr const char* kCapitalConsonants = "BCDFGHJKLMNPRSTVWXYZ";
constexpr int kNameBufferLetters = 31;

// A seed is an unsigned 32-bit decimal; "-1" or "99999999999" cannot be a seed and
// count as absent rather than wrapping to some other fortress.
std::optional<uint32_t> parseSeed(const std::string& text) {
    auto v = parseLeadingInteger(text);
    if (!v || *v < 0 || *v > 0xFFFFFFFFLL) return std::nullopt;
    return static_cast<uint32_t>(*v);
}

// A record field. A value without digits (an empty "time_record_h=" line) counts as
// absent: read as 0 it would make the record 0 h 0 min 0 s, which no escape can beat.
std::optional<int32_t> parseInt32(const std::string& text) {
    if (!hasLeadingDigits(text)) return std::nullopt;
    auto v = parseLeadingInteger(text);
    if (!v || *v < INT32_MIN || *v > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(*v);
}

// Writes the document, creating the player's folder on the first write.
void saveOrReport(const IniFile& ini, const std::filesystem::path& path, const char* what) {
    if (createFoldersAbove(path) && ini.save(path)) return;
    // The build tree's path is relative to bin/: the player needs to know which file.
    std::error_code ec;
    std::filesystem::path shown = std::filesystem::absolute(path, ec);
    if (ec) shown = path;
    std::fprintf(stderr, "ERROR: Unable to write the settings file %s: %s is not kept\n",
                 shown.lexically_normal().c_str(), what);
}

// Minutes and seconds above 60, or negative (both above 60 when seen as unsigned), load as 0.
int32_t clampSexagesimal(int32_t v) { return static_cast<uint32_t>(v) > 60u ? 0 : v; }

}  // namespace

bool FortressIdentity::loadPreferences() {
    const IniFile ini = IniFile::load(settingsPath);

    bool namePresent = false;
    if (auto name = ini.get(kSection, "map_name"); name && !name->empty()) {
        mapName = *name;
        namePresent = true;
    }

    bool usable = false;
    if (auto seedText = ini.get(kSection, "map_seed")) {
        if (auto seed = parseSeed(*seedText)) {
            mapSeed = *seed;
            usable = namePresent && mapSeed != 0;
        }
    }

    recordHours = 2;
    recordMinutes = 0;
    recordSeconds = 0;
    if (auto h = ini.get(kSection, "time_record_h"))
        if (auto v = parseInt32(*h)) recordHours = *v;
    if (auto m = ini.get(kSection, "time_record_m"))
        if (auto v = parseInt32(*m)) recordMinutes = clampSexagesimal(*v);
    if (auto s = ini.get(kSection, "time_record_s"))
        if (auto v = parseInt32(*s)) recordSeconds = clampSexagesimal(*v);
    return usable;
}

void FortressIdentity::createNewFortress(int64_t now) {
    mapSeed = static_cast<uint32_t>(static_cast<uint64_t>(now));
    mapName = fortressNameForSeed(mapSeed);
    saveFortressIdentity();
}

void FortressIdentity::createNewFortress() { createNewFortress(static_cast<int64_t>(std::time(nullptr))); }

void FortressIdentity::saveFortressIdentity() const {
    if (settingsPath.empty()) return;  // an identity without a file lives for this run only
    IniFile ini = IniFile::load(settingsPath);
    ini.set(kSection, "map_name", mapName);
    ini.set(kSection, "map_seed", std::to_string(mapSeed));
    saveOrReport(ini, settingsPath, "the fortress");
}

void splitElapsed(int64_t elapsed, int32_t& hours, int32_t& minutes, int32_t& seconds) {
    hours = static_cast<int32_t>(elapsed / 3600 - 24 * (elapsed / 86400));
    minutes = static_cast<int32_t>(elapsed / 60 - 60 * (elapsed / 3600));
    seconds = static_cast<int32_t>(elapsed - 60 * (elapsed / 60));
}

bool FortressIdentity::storeRecordIfBetter(int64_t now) {
    int32_t h = 0, m = 0, s = 0;
    splitElapsed(now - playStartTime, h, m, s);
    const uint32_t total = static_cast<uint32_t>(h) * 3600u + static_cast<uint32_t>(m) * 60u + static_cast<uint32_t>(s);
    const uint32_t record = static_cast<uint32_t>(recordHours) * 3600u + static_cast<uint32_t>(recordMinutes) * 60u +
                            static_cast<uint32_t>(recordSeconds);
    if (total >= record) return false;

    if (!settingsPath.empty()) {  // an identity without a file keeps its record in memory
        IniFile ini = IniFile::load(settingsPath);
        ini.set(kSection, "time_record_h", std::to_string(h));
        ini.set(kSection, "time_record_m", std::to_string(m));
        ini.set(kSection, "time_record_s", std::to_string(s));
        saveOrReport(ini, settingsPath, "the record");
    }
    recordHours = h;
    recordMinutes = m;
    recordSeconds = s;
    formatRecordText();
    return true;
}

bool FortressIdentity::storeRecordIfBetter() { return storeRecordIfBetter(static_cast<int64_t>(std::time(nullptr))); }

void FortressIdentity::formatRecordText() {
    recordText = "R: " + std::to_string(static_cast<uint32_t>(recordHours)) + "h " +
                 std::to_string(static_cast<uint32_t>(recordMinutes)) + "m " +
                 std::to_string(static_cast<uint32_t>(recordSeconds)) + "s ";
}

std::string makeFortressName(int minLength, int maxLength, bool capitalise, RandomEngine& engine) {
    int length = engine.uniformInt(minLength, maxLength);
    if (length > kNameBufferLetters) length = kNameBufferLetters;
    bool vowel = engine.percentRoll() < 50;
    std::string name;
    for (int p = 0; p < length; ++p) {
        const int v = engine.uniformInt(0, 4);
        const int c = engine.uniformInt(0, 19);
        const bool capital = p == 0 && capitalise;
        if (vowel) name += (capital ? kCapitalVowels : kVowels)[v];
        else name += (capital ? kCapitalConsonants : kConsonants)[c];
        vowel = !vowel;
    }
    return name;
}

std::string fortressNameForSeed(uint32_t seed) {
    // At start-up the game's engine has not been seeded yet: drawn from it, every first
    // start would get the same name.
    RandomEngine own(seed);
    return makeFortressName(6, 10, true, own);
}
