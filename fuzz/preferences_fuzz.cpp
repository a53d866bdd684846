// The fortress identity on a settings file that holds the input: load, save, load
// again, and a record run. Whatever the file holds, nothing crashes, the loaded
// values keep their ranges, and the name, seed and record survive every rewrite.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "world/Preferences.h"

namespace {

FortressIdentity loadFrom(const std::filesystem::path& path, bool& usable) {
    FortressIdentity identity;
    identity.settingsPath = path;
    usable = identity.loadPreferences();
    FUZZ_CHECK(identity.recordMinutes >= 0 && identity.recordMinutes <= 60);
    FUZZ_CHECK(identity.recordSeconds >= 0 && identity.recordSeconds <= 60);
    if (usable) FUZZ_CHECK(!identity.mapName.empty() && identity.mapSeed != 0);
    return identity;
}

void checkSameFortress(const FortressIdentity& a, const FortressIdentity& b) {
    FUZZ_CHECK(a.mapName == b.mapName);
    FUZZ_CHECK(a.mapSeed == b.mapSeed);
}

void checkSameRecord(const FortressIdentity& a, const FortressIdentity& b) {
    FUZZ_CHECK(a.recordHours == b.recordHours);
    FUZZ_CHECK(a.recordMinutes == b.recordMinutes);
    FUZZ_CHECK(a.recordSeconds == b.recordSeconds);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto path = scratchFolder() / "Settings" / "Settings.ini";
    std::filesystem::create_directories(path.parent_path());
    writeBytes(path, std::string(reinterpret_cast<const char*>(data), size));

    bool usable = false;
    FortressIdentity first = loadFrom(path, usable);
    if (usable) {
        first.saveFortressIdentity();
    } else {
        // As at start-up: no usable fortress stored, so a new one is made and saved.
        first.createNewFortress(123456789);
    }

    FortressIdentity second = loadFrom(path, usable);
    FUZZ_CHECK(usable);
    checkSameFortress(first, second);
    checkSameRecord(first, second);

    // An escape after 1 min 1 s: stored only when it beats the record.
    second.playStartTime = 1000;
    const bool stored = second.storeRecordIfBetter(1000 + 61);
    if (stored) FUZZ_CHECK(second.recordHours == 0 && second.recordMinutes == 1 && second.recordSeconds == 1);
    else checkSameRecord(first, second);

    const FortressIdentity third = loadFrom(path, usable);
    FUZZ_CHECK(usable);
    checkSameFortress(first, third);
    checkSameRecord(second, third);
    return 0;
}
