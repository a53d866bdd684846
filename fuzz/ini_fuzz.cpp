// The INI layer, reader and writer. The input is a settings document, optionally
// followed by a line "%%" and one write per line, "section|key|value" (or "key|value"
// for the preferencias section). In a value \n, \r, \0 and \\ stand for those bytes,
// so a text corpus can still try line breaks. Section and key names keep only the
// characters a hand-written settings file could use for a name; values are arbitrary.
//
// Invariants:
// - a document that is only read comes back byte for byte;
// - after each write the value reads back as the profile functions give it (line
//   breaks dropped, cut to 63 characters: the writer quotes what a read would trim), and the
//   write changed nothing but its own key's line (or added it, with its section;
//   a last line without a line end then gains one);
// - the saved document loads again to the same lines and the same values.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "util/IniFile.h"

namespace {

constexpr std::string_view kMarker = "\n%%\n";
constexpr size_t kMaxWrites = 64;

struct Write {
    std::string section, key, value;
};

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        const auto lx = x >= 'A' && x <= 'Z' ? x + 32 : x, ly = y >= 'A' && y <= 'Z' ? y + 32 : y;
        if (lx != ly) return false;
    }
    return true;
}

std::string_view trim(std::string_view s) {
    constexpr std::string_view ws = " \t\r\f\v";
    const size_t first = s.find_first_not_of(ws);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(ws) - first + 1);
}

// The key of a "key=value" line; comments, sections and lines without '=' have none.
std::optional<std::string_view> keyOf(std::string_view line) {
    const std::string_view t = trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return std::nullopt;
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return trim(t.substr(0, eq));
}

bool isSectionHeader(std::string_view line) {
    const std::string_view t = trim(line);
    return t.size() >= 2 && t[0] == '[' && t.find(']') != std::string_view::npos;
}

std::string nameFrom(std::string_view raw, const char* fallback) {
    std::string name;
    for (char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (u > 0x20 && u != 0x7f && std::string_view("=[];#").find(c) == std::string_view::npos) name += c;
    }
    return name.empty() ? fallback : name;
}

std::string unescape(std::string_view raw) {
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) {
            const char c = raw[++i];
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == '0' ? '\0' : c;
        } else {
            out += raw[i];
        }
    }
    return out;
}

std::vector<Write> parseWrites(std::string_view text) {
    std::vector<Write> writes;
    size_t start = 0;
    while (start < text.size() && writes.size() < kMaxWrites) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const size_t bar1 = line.find('|');
        const size_t bar2 = bar1 == std::string_view::npos ? bar1 : line.find('|', bar1 + 1);
        Write w;
        if (bar2 != std::string_view::npos) {
            w.section = nameFrom(line.substr(0, bar1), "s");
            w.key = nameFrom(line.substr(bar1 + 1, bar2 - bar1 - 1), "k");
            w.value = unescape(line.substr(bar2 + 1));
        } else if (bar1 != std::string_view::npos) {
            w.section = "preferencias";
            w.key = nameFrom(line.substr(0, bar1), "k");
            w.value = unescape(line.substr(bar1 + 1));
        } else {
            w.section = "preferencias";
            w.key = nameFrom(line, "k");
        }
        writes.push_back(std::move(w));
    }
    return writes;
}

// What a read gives back after a write of value: the value without the bytes no line
// can hold, cut to 63 characters (the writer quotes a value whose blanks or quotes a
// read would otherwise take away).
std::string readBack(const std::string& value) {
    std::string clean;
    for (char c : value)
        if (c != '\r' && c != '\n' && c != '\0') clean += c;
    if (clean.size() > IniFile::kMaxValueLength) clean.resize(IniFile::kMaxValueLength);
    return clean;
}

// One write may replace one line of its key, insert one line of its key, or append
// its section header and the key line at the end; every other line stays as it was.
// The one exception: a last line that had no line end gets one when a line is added
// after it (a CR LF one in a CR LF document, so the stored line gains its CR).
void checkOnlyItsLineChanged(std::vector<std::string> before, bool lastLineWasOpen,
                             const std::vector<std::string>& after, const Write& w) {
    if (lastLineWasOpen && after.size() > before.size() && after[before.size() - 1] == before.back() + '\r')
        before.back() += '\r';
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    size_t endBefore = before.size(), endAfter = after.size();
    while (endBefore > head && endAfter > head && before[endBefore - 1] == after[endAfter - 1]) {
        --endBefore;
        --endAfter;
    }
    const size_t removed = endBefore - head, added = endAfter - head;
    const auto isKeyLine = [&](const std::string& line) {
        const auto key = keyOf(line);
        return key && equalsIgnoreCase(*key, w.key);
    };
    if (removed == 0 && added == 0) return;  // the line was already what the write asked for
    if (removed == 1 && added == 1) {
        FUZZ_CHECK(isKeyLine(before[head]));
        FUZZ_CHECK(isKeyLine(after[head]));
    } else if (removed == 0 && added == 1) {
        FUZZ_CHECK(isKeyLine(after[head]));
    } else {
        FUZZ_CHECK(removed == 0 && added == 2);
        FUZZ_CHECK(endAfter == after.size());  // a new section goes at the end
        FUZZ_CHECK(isSectionHeader(after[head]));
        FUZZ_CHECK(isKeyLine(after[head + 1]));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t marker = input.find(kMarker);
    const std::string document = input.substr(0, marker == std::string::npos ? input.size() : marker + 1);
    std::vector<Write> writes =
        marker == std::string::npos
            ? std::vector<Write>{{"preferencias", "map_name", "Fuzz"}, {"preferencias", "map_seed", "1"}}
            : parseWrites(std::string_view(input).substr(marker + kMarker.size()));

    IniFile ini = IniFile::fromText(document);
    FUZZ_CHECK(ini.text() == document);

    for (const Write& w : writes) {
        const std::vector<std::string> before = ini.lines();
        const std::string textBefore = ini.text();
        ini.set(w.section, w.key, w.value);
        checkOnlyItsLineChanged(before, !textBefore.empty() && textBefore.back() != '\n', ini.lines(), w);
        const auto got = ini.get(w.section, w.key);
        FUZZ_CHECK(got && *got == readBack(w.value));
        FUZZ_CHECK(ini.get(w.section, w.key, "fallback") == *got);
    }

    const auto path = scratchFolder() / "Settings" / "Settings.ini";
    FUZZ_CHECK(ini.save(path));
    const IniFile reloaded = IniFile::load(path);
    FUZZ_CHECK(reloaded.lines() == ini.lines());
    FUZZ_CHECK(reloaded.text() == ini.text());
    for (size_t i = 0; i < writes.size(); ++i) {
        // The last write to a section and key (names compared case-insensitively) wins.
        size_t last = i;
        for (size_t j = i + 1; j < writes.size(); ++j)
            if (equalsIgnoreCase(writes[j].section, writes[i].section) && equalsIgnoreCase(writes[j].key, writes[i].key))
                last = j;
        const auto got = reloaded.get(writes[i].section, writes[i].key);
        FUZZ_CHECK(got && *got == readBack(writes[last].value));
    }
    return 0;
}
