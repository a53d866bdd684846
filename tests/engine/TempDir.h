#pragma once
// A fresh folder of its own under the system's temporary directory, removed with the
// object: tests run in parallel processes and must never share a fixed path.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velkaran-test-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
};
