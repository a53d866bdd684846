// velkaran-fortress: the seeded fortress from the command line.
//   dump SEED          the JSON document of the fortress
//   show SEED          a readable text map
//   check FIRST LAST   builds every seed in the range and reports the unsound ones
#include <algorithm>
#include <charconv>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "FortressTool.h"
#include "world/FortressCheck.h"
#include "world/FortressDump.h"

namespace {

constexpr int kBadInput = 2;
constexpr int kSomeFailed = 1;

std::optional<uint32_t> parseSeed(std::string_view text) {
    if (text.empty()) return std::nullopt;
    for (char ch : text) {
        if (ch < '0' || ch > '9') return std::nullopt;
    }
    uint32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

int badInput(const std::string& message) {
    std::cerr << "velkaran-fortress: " << message << '\n';
    return kBadInput;
}

// The largest value a counter reached over the range, and the first seed that reached it.
struct Peak {
    int64_t value = 0;
    uint32_t seed = 0;
    void offer(int64_t v, uint32_t s) {
        if (v > value) {
            value = v;
            seed = s;
        }
    }
};

std::ostream& operator<<(std::ostream& out, const Peak& p) { return out << p.value << " (seed " << p.seed << ")"; }

int runCheck(uint32_t first, uint32_t last) {
    auto setup = std::make_unique<FortressSetup>();
    uint64_t failed = 0, checked = 0, fallbackEnclosures = 0;
    Peak markerTries, statueAttempts, lockRounds;
    for (uint64_t seed = first; seed <= last; ++seed) {
        const auto s = static_cast<uint32_t>(seed);
        seedAndBuildFortress(s, *setup);
        ++checked;
        markerTries.offer(std::max(setup->map.markerTries[0], setup->map.markerTries[1]), s);
        statueAttempts.offer(setup->report.statueAttempts, s);
        lockRounds.offer(setup->report.lockRounds, s);
        if (setup->report.injectorFallback) ++fallbackEnclosures;

        const std::vector<std::string> problems = checkFortress(*setup);
        if (problems.empty()) continue;
        ++failed;
        std::cout << "seed " << s << ":";
        for (size_t k = 0; k < problems.size(); ++k) std::cout << (k == 0 ? " " : "; ") << problems[k];
        std::cout << '\n';
    }
    std::cout << "checked " << checked << " seeds (" << first << " ... " << last << "): " << failed
              << " failed; most marker tries " << markerTries << ", statue attempts " << statueAttempts
              << ", rounds of locks " << lockRounds << "; injector enclosures at the fixed place: "
              << fallbackEnclosures << '\n';
    return failed == 0 ? 0 : kSomeFailed;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string usage = "usage: velkaran-fortress dump SEED | show SEED | check FIRST LAST";
    if (argc < 2) return badInput(usage);
    const std::string_view verb = argv[1];

    if (verb == "dump" || verb == "show") {
        if (argc != 3) return badInput(usage);
        const std::optional<uint32_t> seed = parseSeed(argv[2]);
        if (!seed) return badInput(std::string("not a seed (0 ... 4294967295): ") + argv[2]);
        auto setup = std::make_unique<FortressSetup>();
        seedAndBuildFortress(*seed, *setup);
        if (verb == "dump") {
            writeFortressDump(std::cout, *seed, *setup);
        } else {
            writeShow(std::cout, *seed, *setup);
        }
        return std::cout.good() ? 0 : 1;
    }
    if (verb == "check") {
        if (argc != 4) return badInput(usage);
        const std::optional<uint32_t> first = parseSeed(argv[2]);
        const std::optional<uint32_t> last = parseSeed(argv[3]);
        if (!first) return badInput(std::string("not a seed (0 ... 4294967295): ") + argv[2]);
        if (!last) return badInput(std::string("not a seed (0 ... 4294967295): ") + argv[3]);
        if (*first > *last) return badInput("reversed range: FIRST is above LAST");
        return runCheck(*first, *last);
    }
    return badInput("unknown verb '" + std::string(verb) + "'; " + usage);
}
