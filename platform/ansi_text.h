// Texts in the system's ANSI code page (936 here). A byte of 0x80 or more may start a
// two-byte character whose second byte can be 0x5C, the backslash; searches for a
// single ASCII character must walk from the start so they never match such a byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmorin {

inline constexpr std::size_t kNoPosition = std::string_view::npos;

// Position of the last backslash that is a character of its own, or kNoPosition.
std::size_t FindLastBackslash(std::string_view text);

// printf-style "%s" and "%d" filling for the program's fixed message patterns.
std::string FormatText(std::string_view pattern, std::string_view first, std::string_view second = {});

}  // namespace velmorin
