#pragma once
// A small INI reader and writer with the semantics the settings file relies on:
// section and key names compare case-insensitively, a value is at most 63
// characters, a missing key reads as the caller's default, and a write changes only
// the line of its key, keeping every other line (comments, unknown keys, the
// window_resolution= line) byte for byte. Values are bytes: Windows-1252 names
// pass through untouched.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class IniFile {
public:
    static constexpr size_t kMaxValueLength = 63;

    // Loads the file; a missing or unreadable file gives an empty document.
    static IniFile load(const std::filesystem::path& path);
    // Parses a document held in memory.
    static IniFile fromText(const std::string& text);

    // The value of key in section, trimmed and cut to kMaxValueLength, or nothing.
    std::optional<std::string> get(const std::string& section, const std::string& key) const;
    std::string get(const std::string& section, const std::string& key, const std::string& fallback) const;

    // Replaces the key's line, or adds it at the end of its section, or adds the
    // section at the end of the document. Line breaks in the value are dropped so a
    // value can never split into extra lines. A rewritten line keeps its own ending
    // (LF or CR LF); an added line takes the ending of the line before it.
    void set(const std::string& section, const std::string& key, const std::string& value);

    // Writes the document to a temporary file beside path and renames it over path,
    // so a failed write never leaves a truncated settings file; both reach the disk
    // (fsync) before it returns. Creates the folder. A file that is a symbolic link is
    // written through it; a replaced file keeps its mode, and a read-only one is left
    // as it is (false). Temporary files left by a killed write are removed.
    bool save(const std::filesystem::path& path) const;

    const std::vector<std::string>& lines() const { return documentLines; }
    std::string text() const;

private:
    void insertLine(size_t at, const std::string& line);

    std::vector<std::string> documentLines;  // without their line feeds; a CR LF line keeps its CR
    bool endsWithNewline = true;
};

// One-shot helpers in the manner of the platform's profile functions.
std::string readProfileString(const std::filesystem::path& path, const std::string& section,
                              const std::string& key, const std::string& fallback);
bool writeProfileString(const std::filesystem::path& path, const std::string& section,
                        const std::string& key, const std::string& value);
