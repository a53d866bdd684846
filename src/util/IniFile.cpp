#include "util/IniFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

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

// Bytes the writer can never store inside a value: a CR or NUL read back from a
// damaged file is dropped, so a value read is always one that can be written again.
bool storable(char c) { return c != '\r' && c != '\n' && c != '\0'; }

std::string valueOf(const std::string& line) {
    std::string v;
    for (char c : trim(line.substr(line.find('=') + 1)))
        if (storable(c)) v += c;
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

// A line's own ending: CR LF lines keep their CR as the last byte of the stored line.
bool endsWithCarriageReturn(const std::string& line) { return !line.empty() && line.back() == '\r'; }

}  // namespace

IniFile IniFile::load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return fromText(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

IniFile IniFile::fromText(const std::string& content) {
    IniFile ini;
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
        if (storable(c)) clean += c;
    // Quoted when reading it back would otherwise change it: blanks at either end are
    // trimmed, and a value in matching quotes loses them.
    const bool quoted = !clean.empty() && (std::isspace(static_cast<unsigned char>(clean.front())) ||
                                           std::isspace(static_cast<unsigned char>(clean.back())) ||
                                           (clean.size() >= 2 && clean.front() == clean.back() &&
                                            (clean.front() == '"' || clean.front() == '\'')));
    const std::string line = key + "=" + (quoted ? "\"" + clean + "\"" : clean);

    size_t header = 0, end = 0;
    if (!findSection(documentLines, section, header, end)) {
        insertLine(documentLines.size(), "[" + section + "]");
        insertLine(documentLines.size(), line);
        return;
    }
    for (size_t i = header + 1; i < end; ++i) {
        auto name = keyName(documentLines[i]);
        if (name && equalsIgnoreCase(*name, key)) {
            // A rewritten line keeps its own ending.
            documentLines[i] = endsWithCarriageReturn(documentLines[i]) ? line + '\r' : line;
            return;
        }
    }
    // After the section's last non-blank line, so blank separators stay between sections.
    size_t insertAt = end;
    while (insertAt > header + 1 && trim(documentLines[insertAt - 1]).empty()) --insertAt;
    insertLine(insertAt, line);
}

void IniFile::insertLine(size_t at, const std::string& line) {
    // An added line takes the ending of the line before it, so a file edited on a
    // system with CR LF endings keeps them. A last line written without a terminator
    // has no ending of its own: it gains the one of the line before it, and so does
    // the new line.
    const bool appendsToOpenLine = at == documentLines.size() && at > 0 && !endsWithNewline;
    size_t model = at;  // the new line copies the ending of line model - 1
    if (appendsToOpenLine && at >= 2 && !endsWithCarriageReturn(documentLines[at - 1])) model = at - 1;
    const bool crlf = model > 0 && endsWithCarriageReturn(documentLines[model - 1]);
    if (appendsToOpenLine) {
        if (crlf && !endsWithCarriageReturn(documentLines[at - 1])) documentLines[at - 1] += '\r';
        endsWithNewline = true;
    }
    documentLines.insert(documentLines.begin() + static_cast<std::ptrdiff_t>(at), crlf ? line + '\r' : line);
}

std::string IniFile::text() const {
    std::string out;
    for (size_t i = 0; i < documentLines.size(); ++i) {
        out += documentLines[i];
        if (i + 1 < documentLines.size() || endsWithNewline) out += '\n';
    }
    return out;
}

namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkHops = 40;

// The file a write must replace: a settings file that is a symbolic link is written
// through the link (the link stays, its target gets the text). Nothing for a loop.
std::optional<fs::path> resolveLinks(fs::path path) {
    for (int hops = 0; hops <= kMaxLinkHops; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::error_code ec;
        const fs::path link = fs::read_symlink(path, ec);
        if (ec) return std::nullopt;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return std::nullopt;
}

// A file the player made read-only stays as it is. The permission check alone would
// let a process with every right (root) replace its own read-only file.
bool writable(const fs::path& file, const struct stat& st) {
    if (st.st_uid == ::geteuid() && !(st.st_mode & S_IWUSR)) return false;
    return ::access(file.c_str(), W_OK) == 0;
}

// "<name>.tmp<pid>" of a process that no longer runs (or of this one): what a write
// killed between creating its temporary file and the rename left behind.
void removeStaleTemporaries(const fs::path& file) {
    const std::string prefix = file.filename().string() + ".tmp";
    std::error_code ec;
    fs::directory_iterator it(file.parent_path().empty() ? fs::path(".") : file.parent_path(), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || it->is_symlink(typeError)) continue;
        const long long pid = std::stoll(digits);
        const bool ours = pid == ::getpid();
        const bool gone = pid <= 0 || pid > INT32_MAX || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
        if (ours || gone) {
            std::error_code removeError;
            fs::remove(it->path(), removeError);
        }
    }
}

bool writeAll(int fd, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The rename itself reaches the disk only with its folder.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool IniFile::save(const std::filesystem::path& path) const {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    const std::optional<fs::path> resolved = resolveLinks(path);
    if (!resolved) return false;
    const fs::path& target = *resolved;

    // A new file gets the usual mode for the umask; a replaced one keeps its own.
    struct stat existing {};
    const bool replaces = ::stat(target.c_str(), &existing) == 0;
    if (replaces && (!S_ISREG(existing.st_mode) || !writable(target, existing))) return false;

    removeStaleTemporaries(target);
    const fs::path temp = target.string() + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, replaces ? 0600 : 0666);
    if (fd < 0) return false;
    bool ok = true;
    if (replaces) {
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
        // The owner too, where this process may change it (root writing a player's
        // file); otherwise the file is this process's own already, or stays so.
        const bool ownerKept = ::fchown(fd, existing.st_uid, existing.st_gid) == 0;
        static_cast<void>(ownerKept);
    }
    ok = ok && writeAll(fd, text()) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(target.parent_path());
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
