// The .she theme format: a short text file that gives the colours and metrics of
// flat push buttons. Plain C++ with no Win32 dependency, so the parser can be
// built for the host and fuzzed there as well as linked into the skin engine.
// The format is described in skin/THEME_FORMAT.md.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmorin::skin {

// Files larger than this are refused without being parsed.
inline constexpr std::size_t kMaxThemeSize = 4096;
inline constexpr int kThemeVersion = 1;

// Results of the parser; the skin engine returns the same numbers.
enum ThemeStatus : int {
    kThemeOk = 0,
    kThemeTooLarge = 3,    // more than kMaxThemeSize bytes
    kThemeBadMagic = 4,    // does not start with ".SHE"
    kThemeBadVersion = 5,  // a version other than kThemeVersion
    kThemeSyntax = 6,      // a bad byte, a line that is not "key value", a bad number
    kThemeUnknownKey = 7,
    kThemeDuplicateKey = 8,
    kThemeMissingKey = 9,   // a key the look needs is absent (also: a truncated file)
    kThemeOutOfRange = 10,  // a metric outside its allowed range
};

// The colours of a button in one state; each is a COLORREF value (0x00BBGGRR).
struct StateColours {
    std::uint32_t face = 0;
    std::uint32_t border = 0;
    std::uint32_t text = 0;
};

enum ButtonState : int { kStateNormal, kStateHover, kStatePressed, kStateDisabled, kStateCount };

struct Theme {
    int version = 0;
    StateColours states[kStateCount];
    std::uint32_t defaultBorder = 0;  // border of the default push button when idle
    std::uint32_t focus = 0;          // the focus rectangle
    int borderWidth = 0;              // pixels, 1 to 4
    int focusInset = 0;               // pixels from the edge to the focus rectangle, 1 to 8
};

struct ParseOutcome {
    ThemeStatus status = kThemeOk;
    int line = 0;  // 1-based line of the fault, 0 when none applies
};

// Parses a whole theme file. On success fills theme; on failure leaves it unchanged.
ParseOutcome ParseTheme(const unsigned char* data, std::size_t size, Theme& theme);

// Writes a theme in the file format into out; ParseTheme reads it back to the same
// values. Returns the number of bytes written, or 0 when capacity is too small.
std::size_t FormatTheme(const Theme& theme, char* out, std::size_t capacity);

}  // namespace velmorin::skin
