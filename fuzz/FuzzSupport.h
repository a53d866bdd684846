#pragma once
// Shared by the fuzz targets: invariant checks that abort, so that both libFuzzer and
// the corpus replay report the input that broke one, and scratch files private to
// this process (libFuzzer's -fork and -jobs workers run side by side).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

// A folder of this process under the system's temporary folder, removed at exit.
inline const std::filesystem::path& scratchFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            path = std::filesystem::temp_directory_path() / ("velkaran-fuzz-" + std::to_string(::getpid()));
            std::filesystem::create_directories(path);
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

// abort() skips the destructors, so the scratch folder goes first: a corpus case that
// fails on every CI run must not leave a folder behind each time.
[[noreturn]] inline void failInvariant(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "fuzz invariant failed: %s (%s:%d)\n", condition, file, line);
    std::error_code ec;
    std::filesystem::remove_all(scratchFolder(), ec);
    std::abort();
}

#define FUZZ_CHECK(condition)                                          \
    do {                                                               \
        if (!(condition)) failInvariant(#condition, __FILE__, __LINE__); \
    } while (0)

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}
