// Windows-1252 text, the encoding of strings in document and macro files. Strings in memory are
// UTF-8; the conversion happens only at the file's edge.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qorv {

// The character of one Windows-1252 byte. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same number, so that every
// byte survives a read and a write.
char32_t cp1252ToCodePoint(uint8_t byte);

// Windows-1252 bytes to UTF-8.
std::string cp1252ToUtf8(std::string_view bytes);

// The number of characters of UTF-8 text.
size_t utf8Length(std::string_view utf8);
// The length of the well-formed UTF-8 sequence that starts at s[i] (i < s.size()), or 0 when the
// bytes there are not one.
size_t utf8SequenceLength(std::string_view s, size_t i);

// UTF-8 to Windows-1252. A character the code page cannot hold, and each byte of a malformed
// UTF-8 sequence, becomes '?'.
std::string utf8ToCp1252(std::string_view utf8);

} // namespace qorv
