#include "util/IniFile.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace {

std::string trim(const std::string& s) {
    const char* ws = " \t\r\f\v";
    const size_t first = s.find_first_not_of(ws);
    if (first == std::string::npos) return {};
    const size_t last = s.find_last_not_of(ws);
    return s.substr(first, last - first + 1);
}

bool equalsIgnoreCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x < 128 && y < 128) {
            if (std::tolower(x) != std::tolower(y)) return false;
        } else if (x != y) {
            return false;
        }
    }
    return true;
}

// "[name]" → name; anything else → nothing.
std::optional<std::string> sectionName(const std::string& line) {
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    const size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return trim(t.substr(1, close - 1));
}

// "key=value" → key (trimmed); comments and lines without '=' → nothing.
std::optional<std::string> keyName(const std::string& line) {
    const std::string t = trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return std::nullopt;
    const size_t eq = t.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return trim(t.substr(0, eq));
}

std::string valueOf(const std::string& line) {
    std::string v = trim(line.substr(line.find('=') + 1));
    // A value written in quotes reads without them, as the profile functions do.
    if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
        v = v.substr(1, v.size() - 2);
    if (v.size() > IniFile::kMaxValueLength) v.resize(IniFile::kMaxValueLength);
    return v;
}

// Finds [section]: the index of its header line and one past its last line.
bool findSection(const std::vector<std::string>& lines, const std::string& section, size_t& header,
                 size_t& end) {
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionName(lines[i]);
        if (!name || !equalsIgnoreCase(*name, section)) continue;
        header = i;
        end = i + 1;
        while (end < lines.size() && !sectionName(lines[end])) ++end;
        return true;
    }
    return false;
}

}  // namespace

IniFile IniFile::load(const std::filesystem::path& path) {
    IniFile ini;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ini;
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (content.empty()) return ini;
    size_t start = 0;
    while (start <= content.size()) {
        size_t nl = content.find('\n', start);
        if (nl == std::string::npos) {
            if (start < content.size()) ini.documentLines.push_back(content.substr(start));
            break;
        }
        ini.documentLines.push_back(content.substr(start, nl - start));
        start = nl + 1;
    }
    ini.endsWithNewline = content.back() == '\n';
    return ini;
}

std::optional<std::string> IniFile::get(const std::string& section, const std::string& key) const {
    size_t header = 0, end = 0;
    if (!findSection(documentLines, section, header, end)) return std::nullopt;
    for (size_t i = header + 1; i < end; ++i) {
        auto name = keyName(documentLines[i]);
        if (name && equalsIgnoreCase(*name, key)) return valueOf(documentLines[i]);
    }
    return std::nullopt;
}

std::string IniFile::get(const std::string& section, const std::string& key, const std::string& fallback) const {
    return get(section, key).value_or(fallback);
}

void IniFile::set(const std::string& section, const std::string& key, const std::string& value) {
    std::string clean;
    for (char c : value)
        if (c != '\r' && c != '\n' && c != '\0') clean += c;
    const std::string line = key + "=" + clean;

    size_t header = 0, end = 0;
    if (!findSection(documentLines, section, header, end)) {
        documentLines.push_back("[" + section + "]");
        documentLines.push_back(line);
        return;
    }
    for (size_t i = header + 1; i < end; ++i) {
        auto name = keyName(documentLines[i]);
        if (name && equalsIgnoreCase(*name, key)) {
            documentLines[i] = line;
            return;
        }
    }
    // After the section's last non-blank line, so blank separators stay between sections.
    size_t insertAt = end;
    while (insertAt > header + 1 && trim(documentLines[insertAt - 1]).empty()) --insertAt;
    documentLines.insert(documentLines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

std::string IniFile::text() const {
    std::string out;
    for (size_t i = 0; i < documentLines.size(); ++i) {
        out += documentLines[i];
        if (i + 1 < documentLines.size() || endsWithNewline) out += '\n';
    }
    return out;
}

bool IniFile::save(const std::filesystem::path& path) const {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    const std::filesystem::path temp = path.string() + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        const std::string content = text();
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

std::string readProfileString(const std::filesystem::path& path, const std::string& section,
                              const std::string& key, const std::string& fallback) {
    return IniFile::load(path).get(section, key, fallback);
}

bool writeProfileString(const std::filesystem::path& path, const std::string& section,
                        const std::string& key, const std::string& value) {
    IniFile ini = IniFile::load(path);
    ini.set(section, key, value);
    return ini.save(path);
}
