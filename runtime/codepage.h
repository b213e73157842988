// Conversions between the program's single-byte Windows-1252 text and Unicode (UTF-8 for files,
// UTF-16 for the screen and printer), and to and from the OEM code page 437 of old settings files
// and of tables stored in OEM characters.
//
// Every conversion is total: each byte and each code point gives a result. A Windows-1252 byte
// that the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stands for the C1 control
// of the same number, so any program text survives a trip through Unicode and back unchanged.
// A code point Windows-1252 cannot show, and each malformed piece of UTF-8 or UTF-16, becomes
// '?'.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillery {

inline constexpr char kUnmappableChar = '?';

// The code point of a Windows-1252 byte.
char32_t cp1252ToUnicode(unsigned char c);
// The Windows-1252 byte of a code point, '?' when it has none.
unsigned char unicodeToCp1252(char32_t codePoint);

// Decodes the UTF-8 sequence at text[i] and advances i past it. A malformed sequence (an
// overlong form, a surrogate, a code point past U+10FFFF, one cut short) gives false and
// advances past its longest valid-looking start only, so the next sequence is not lost.
// Requires: i < text.size().
bool decodeUtf8(std::string_view text, std::size_t& i, char32_t& codePoint);

std::string cp1252ToUtf8(std::string_view text);
std::string utf8ToCp1252(std::string_view utf8);
std::u16string cp1252ToUtf16(std::string_view text);
std::string utf16ToCp1252(std::u16string_view utf16);

// The Windows-1252 byte of a code page 437 byte: bytes below 0x80 are the same; letters,
// currency signs and the few symbols both pages hold are carried over; box drawing, shading,
// Greek and mathematical signs become '?'.
unsigned char cp437ToCp1252(unsigned char c);
std::string cp437ToCp1252(std::string_view text);

// The code page 437 byte of a Windows-1252 byte, for text stored in OEM characters: bytes below
// 0x80 are the same; a character 437 lacks becomes '?'. Every character that comes back from
// cp437ToCp1252 other than '?' goes back to the byte it came from.
unsigned char cp1252ToCp437(unsigned char c);
std::string cp1252ToCp437(std::string_view text);

}  // namespace quillery
