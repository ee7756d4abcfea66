// libFuzzer target for the .she parser, built for the host. Besides not crashing, an
// accepted theme must hold only values in range and survive a write and re-read.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "skin/theme_format.h"

using namespace velmorin::skin;

static bool SameTheme(const Theme& a, const Theme& b) {
    for (int s = 0; s < kStateCount; ++s) {
        if (a.states[s].face != b.states[s].face || a.states[s].border != b.states[s].border ||
            a.states[s].text != b.states[s].text)
            return false;
    }
    return a.version == b.version && a.defaultBorder == b.defaultBorder && a.focus == b.focus &&
           a.borderWidth == b.borderWidth && a.focusInset == b.focusInset;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Theme untouched;
    untouched.borderWidth = -7;
    Theme theme = untouched;
    const ParseOutcome outcome = ParseTheme(data, size, theme);
    if (outcome.status != kThemeOk) {
        // A refused file leaves the caller's theme as it was.
        if (!SameTheme(theme, untouched)) std::abort();
        return 0;
    }
    if (size > kMaxThemeSize || std::memcmp(data, ".SHE", 4) != 0) std::abort();
    if (theme.version != kThemeVersion || theme.borderWidth < 1 || theme.borderWidth > 4 ||
        theme.focusInset < 1 || theme.focusInset > 8)
        std::abort();
    for (int s = 0; s < kStateCount; ++s) {
        if ((theme.states[s].face | theme.states[s].border | theme.states[s].text) > 0xFFFFFFu) std::abort();
    }
    char text[kMaxThemeSize];
    const std::size_t length = FormatTheme(theme, text, sizeof text);
    Theme again;
    if (length == 0 || ParseTheme(reinterpret_cast<unsigned char*>(text), length, again).status != kThemeOk ||
        !SameTheme(theme, again))
        std::abort();
    return 0;
}
