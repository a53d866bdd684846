// Runs a fuzz target once over every file of the given folders (or the given files),
// without libFuzzer: so the seed corpus and every crash found so far replay as
// regression cases in an ordinary build with the ordinary compiler.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg = argv[i];
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            for (const auto& entry : fs::recursive_directory_iterator(arg))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else if (fs::is_regular_file(arg, ec)) {
            inputs.push_back(arg);
        } else {
            std::fprintf(stderr, "no such input: %s\n", arg.c_str());
            return 2;
        }
    }
    if (inputs.empty()) {
        // An empty corpus would pass without testing anything.
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...  (no inputs found)\n", argv[0]);
        return 2;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::printf("running %s (%zu bytes)\n", path.c_str(), bytes.size());
        std::fflush(stdout);
        // A copy in its own allocation, as libFuzzer gives, so a read past the end is
        // not hidden by std::string's terminator.
        std::vector<uint8_t> copy(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(copy.data(), copy.size());
    }
    std::printf("%zu inputs ran without a failed invariant\n", inputs.size());
    return 0;
}
