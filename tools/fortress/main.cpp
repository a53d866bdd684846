// velkaran-fortress: the seeded fortress from the command line.
//   dump SEED          the JSON document of the fortress
//   show SEED          a readable text map
//   check FIRST LAST   builds every seed in the range and reports the unsound ones
//   height X Z ...     the terrain's ground height at each world position
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FortressTool.h"
#include "world/FortressCheck.h"
#include "world/FortressDump.h"
#include "world/Terrain.h"

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

// A finite decimal number, the whole text, rounded to the nearest float; otherwise
// why not: the text is no number, or one beyond what a float holds.
std::optional<float> parseCoordinate(std::string_view text, std::string& problem) {
    const std::string shown(text);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    float value = 0.0f;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = !text.empty() && result.ptr == text.data() + text.size();
    if (whole && (result.ec == std::errc::result_out_of_range || (result.ec == std::errc() && std::isinf(value)))) {
        problem = "number out of range: '" + shown + "'";
        return std::nullopt;
    }
    if (!whole || result.ec != std::errc() || !std::isfinite(value)) {
        problem = "not a number: '" + shown + "'";
        return std::nullopt;
    }
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

// The terrain is the same for every fortress; heightAt reads only the height field,
// with the sample spacing world construction gives it.
int runHeight(int count, char** pairs) {
    std::vector<float> coordinates;
    for (int k = 0; k < count; ++k) {
        std::string problem;
        const std::optional<float> value = parseCoordinate(pairs[k], problem);
        if (!value) return badInput(problem);
        coordinates.push_back(*value);
    }
    auto terrain = std::make_unique<Terrain>();
    terrain->sampleSpacing = Terrain::kWorldSampleSpacing;
    terrain->buildHeights();
    for (size_t k = 0; k + 1 < coordinates.size(); k += 2)
        std::printf("%.4f\n", static_cast<double>(terrain->heightAt(coordinates[k], coordinates[k + 1])));
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string usage = "usage: velkaran-fortress dump SEED | show SEED | check FIRST LAST | height X Z [X Z ...]";
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
    if (verb == "height") {
        if (argc < 3) return badInput(usage);
        if ((argc - 2) % 2 != 0) return badInput(std::string("missing Z after X = ") + argv[argc - 1]);
        return runHeight(argc - 2, argv + 2);
    }
    return badInput("unknown verb '" + std::string(verb) + "'; " + usage);
}
