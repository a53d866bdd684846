#pragma once
#include <optional>
#include <string>
#include <string_view>

// Reads a number the way the C library's decimal conversion does: leading white
// space, an optional sign, then digits up to the first other character; no digits
// gives 0. A value that does not fit in 64 bits cannot be read and gives nothing,
// so callers can treat it as absent instead of wrapping to some other value.
std::optional<long long> parseLeadingInteger(std::string_view text);

// True when the text, after leading white space and an optional sign, starts with a
// digit: the number parseLeadingInteger reads is really there and not the 0 of "no digits".
bool hasLeadingDigits(std::string_view text);

// A token as it stands in an error message: at most 32 bytes, quoted, every byte outside
// printable ASCII as \xHH, so the message stays one readable line whatever the input holds.
std::string quotedToken(std::string_view token);
