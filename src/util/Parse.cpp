#include "util/Parse.h"

#include <cctype>
#include <climits>

std::optional<long long> parseLeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value > (LLONG_MAX - 9) / 10) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

bool hasLeadingDigits(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

std::string quotedToken(std::string_view token) {
    constexpr size_t kMaxShown = 32;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "'";
    for (size_t i = 0; i < token.size() && i < kMaxShown; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xf];
        }
    }
    if (token.size() > kMaxShown) out += "...";
    return out + "'";
}
