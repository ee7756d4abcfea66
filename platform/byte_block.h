// ByteBlock: a counted sequence of bytes, used for registry data and embedded files.
#pragma once

#include <string_view>
#include <vector>

namespace velmorin {

using ByteBlock = std::vector<unsigned char>;

// The bytes of a text, without a terminating zero.
inline ByteBlock BytesOf(std::string_view text) {
    return ByteBlock(text.begin(), text.end());
}

}  // namespace velmorin
