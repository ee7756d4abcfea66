// Two-byte-aware text helpers for code page 936 texts.
#include "ansi_text.h"

#include <windows.h>

namespace velmorin {

std::size_t FindLastBackslash(std::string_view text) {
    std::size_t found = kNoPosition;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsDBCSLeadByte(byte) && i + 1 < text.size()) {
            ++i;  // skip the trail byte: it is never a character of its own
        } else if (byte == '\\') {
            found = i;
        }
    }
    return found;
}

std::string FormatText(std::string_view pattern, std::string_view first, std::string_view second) {
    std::string out;
    int filled = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool placeholder =
            pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'd');
        if (placeholder && filled < 2) {
            out += filled == 0 ? first : second;
            ++filled;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace velmorin
