// Reads and writes the .she theme text: a ".SHE <version>" first line, then one
// "key value" pair per line. Strict on purpose: every byte, key and value is
// checked, so a damaged file is refused instead of half-applied.
#include "theme_format.h"

#include <string_view>

namespace velmorin::skin {
namespace {

enum class ValueKind { kColour, kMetric };

struct KeySpec {
    std::string_view name;
    ValueKind kind;
    int minimum;  // metrics only
    int maximum;
    void (*store)(Theme&, std::uint32_t);
    std::uint32_t (*load)(const Theme&);
};

#define VELMORIN_COLOUR(key, member)                                                    \
    KeySpec {                                                                           \
        key, ValueKind::kColour, 0, 0, [](Theme& t, std::uint32_t v) { t.member = v; }, \
            [](const Theme& t) { return static_cast<std::uint32_t>(t.member); }         \
    }
#define VELMORIN_METRIC(key, member, low, high)                                                                \
    KeySpec {                                                                                                  \
        key, ValueKind::kMetric, low, high, [](Theme& t, std::uint32_t v) { t.member = static_cast<int>(v); }, \
            [](const Theme& t) { return static_cast<std::uint32_t>(t.member); }                                \
    }

// Every key is required, exactly once, in any order.
constexpr KeySpec kKeys[] = {
    VELMORIN_COLOUR("face", states[kStateNormal].face),
    VELMORIN_COLOUR("border", states[kStateNormal].border),
    VELMORIN_COLOUR("text", states[kStateNormal].text),
    VELMORIN_COLOUR("hover-face", states[kStateHover].face),
    VELMORIN_COLOUR("hover-border", states[kStateHover].border),
    VELMORIN_COLOUR("hover-text", states[kStateHover].text),
    VELMORIN_COLOUR("pressed-face", states[kStatePressed].face),
    VELMORIN_COLOUR("pressed-border", states[kStatePressed].border),
    VELMORIN_COLOUR("pressed-text", states[kStatePressed].text),
    VELMORIN_COLOUR("disabled-face", states[kStateDisabled].face),
    VELMORIN_COLOUR("disabled-border", states[kStateDisabled].border),
    VELMORIN_COLOUR("disabled-text", states[kStateDisabled].text),
    VELMORIN_COLOUR("default-border", defaultBorder),
    VELMORIN_COLOUR("focus", focus),
    VELMORIN_METRIC("border-width", borderWidth, 1, 4),
    VELMORIN_METRIC("focus-inset", focusInset, 1, 8),
};
constexpr std::size_t kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);

#undef VELMORIN_COLOUR
#undef VELMORIN_METRIC

constexpr std::string_view kMagic = ".SHE";

// Bytes [from, from + count) of text, clipped to its end; never throws.
std::string_view Slice(std::string_view text, std::size_t from, std::size_t count = std::string_view::npos) {
    if (from >= text.size()) return {};
    const std::size_t left = text.size() - from;
    return std::string_view(text.data() + from, count < left ? count : left);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Only printable ASCII, tab, CR and LF may appear; CR only before LF.
bool HasOnlyTextBytes(std::string_view text, int& badLine) {
    int line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
        } else if (c == '\r') {
            if (i + 1 >= text.size() || text[i + 1] != '\n') {
                badLine = line;
                return false;
            }
        } else if (c != '\t' && (c < 0x20 || c > 0x7E)) {
            badLine = line;
            return false;
        }
    }
    return true;
}

// A decimal number of at most four digits (larger values are out of range anyway).
ThemeStatus ReadNumber(std::string_view text, int& value) {
    if (text.empty()) return kThemeSyntax;
    for (char c : text) {
        if (!IsDigit(c)) return kThemeSyntax;
    }
    if (text.size() > 4) return kThemeOutOfRange;
    value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return kThemeOk;
}

// "#RRGGBB" to a COLORREF value 0x00BBGGRR.
ThemeStatus ReadColour(std::string_view text, std::uint32_t& colour) {
    if (text.size() != 7 || text[0] != '#') return kThemeSyntax;
    std::uint32_t rgb = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0) return kThemeSyntax;
        rgb = (rgb << 4) | static_cast<std::uint32_t>(digit);
    }
    colour = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return kThemeOk;
}

// The first line: the magic, blanks, the version.
ThemeStatus ReadHeader(std::string_view line, int& version) {
    if (Slice(line, 0, kMagic.size()) != kMagic) return kThemeBadMagic;
    std::string_view rest = Slice(line, kMagic.size());
    if (rest.empty() || !IsBlank(rest.front())) return kThemeSyntax;
    const ThemeStatus status = ReadNumber(Trim(rest), version);
    if (status == kThemeSyntax) return kThemeSyntax;
    return (status == kThemeOk && version == kThemeVersion) ? kThemeOk : kThemeBadVersion;
}

const KeySpec* FindKey(std::string_view name, std::size_t& index) {
    for (index = 0; index < kKeyCount; ++index) {
        if (kKeys[index].name == name) return &kKeys[index];
    }
    return nullptr;
}

ThemeStatus ReadPair(std::string_view line, Theme& theme, bool (&seen)[kKeyCount]) {
    std::size_t split = 0;
    while (split < line.size() && !IsBlank(line[split])) ++split;
    const std::string_view name = Slice(line, 0, split);
    const std::string_view value = Trim(Slice(line, split));
    std::size_t index = 0;
    const KeySpec* key = FindKey(name, index);
    if (key == nullptr) return kThemeUnknownKey;
    if (seen[index]) return kThemeDuplicateKey;
    if (key->kind == ValueKind::kColour) {
        std::uint32_t colour = 0;
        if (const ThemeStatus s = ReadColour(value, colour); s != kThemeOk) return s;
        key->store(theme, colour);
    } else {
        int number = 0;
        if (const ThemeStatus s = ReadNumber(value, number); s != kThemeOk) return s;
        if (number < key->minimum || number > key->maximum) return kThemeOutOfRange;
        key->store(theme, static_cast<std::uint32_t>(number));
    }
    seen[index] = true;
    return kThemeOk;
}

}  // namespace

ParseOutcome ParseTheme(const unsigned char* data, std::size_t size, Theme& theme) {
    if (size > kMaxThemeSize) return {kThemeTooLarge, 0};
    if (data == nullptr || size < kMagic.size()) return {kThemeBadMagic, 0};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (Slice(text, 0, kMagic.size()) != kMagic) return {kThemeBadMagic, 1};
    int badLine = 0;
    if (!HasOnlyTextBytes(text, badLine)) return {kThemeSyntax, badLine};

    Theme parsed;
    bool seen[kKeyCount] = {};
    std::size_t start = 0;
    for (int line = 1; start < text.size(); ++line) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view content = Slice(text, start, end - start);
        if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
        start = end + 1;

        ThemeStatus status = kThemeOk;
        if (line == 1) {
            status = ReadHeader(content, parsed.version);
        } else {
            content = Trim(content);
            if (content.empty() || content.front() == ';') continue;
            status = ReadPair(content, parsed, seen);
        }
        if (status != kThemeOk) return {status, line};
    }
    for (bool present : seen) {
        if (!present) return {kThemeMissingKey, 0};
    }
    theme = parsed;
    return {kThemeOk, 0};
}

namespace {

// Appends to a bounded buffer; remembers when something did not fit.
struct TextSink {
    char* out = nullptr;
    std::size_t capacity = 0;
    std::size_t used = 0;
    bool overflow = false;

    void Put(std::string_view text) {
        for (char c : text) {
            if (used >= capacity) {
                overflow = true;
                return;
            }
            out[used++] = c;
        }
    }
    void PutNumber(std::uint32_t value) {
        char digits[10];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count > 0) Put(std::string_view(&digits[--count], 1));
    }
};

}  // namespace

std::size_t FormatTheme(const Theme& theme, char* out, std::size_t capacity) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    TextSink sink{out, capacity};
    sink.Put(kMagic);
    sink.Put(" ");
    sink.PutNumber(static_cast<std::uint32_t>(theme.version));
    sink.Put("\n");
    for (const KeySpec& key : kKeys) {
        const std::uint32_t value = key.load(theme);
        sink.Put(key.name);
        sink.Put(" ");
        if (key.kind == ValueKind::kColour) {
            const std::uint32_t rgb = ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
            char hex[7] = {'#'};
            for (int i = 0; i < 6; ++i) hex[1 + i] = kHex[(rgb >> (20 - 4 * i)) & 0xF];
            sink.Put(std::string_view(hex, 7));
        } else {
            sink.PutNumber(value);
        }
        sink.Put("\n");
    }
    return sink.overflow ? 0 : sink.used;
}

}  // namespace velmorin::skin
