// Single-byte code pages of the data files, converted to and from UTF-8.
//
// Tables are stored in code page 852 (language byte 0x1F); tables of the
// older Windows version of the program hold Windows-1250 text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kolvio {

enum class CodePage { kCp852, kCp1250 };

// Bytes below 128 are ASCII in both pages. A byte the page leaves undefined
// becomes the C1 control of the same number, so decoding never loses a byte.
std::string DecodeToUtf8(std::string_view bytes, CodePage page);
// The same into `out`, whose storage is reused.
void DecodeToUtf8(std::string_view bytes, CodePage page, std::string* out);

// Characters the page cannot hold become '?'. Invalid UTF-8 bytes also become '?'.
std::string EncodeFromUtf8(std::string_view utf8, CodePage page);
// The same into out[0..capacity): returns the length of the whole encoded
// text, of which only the first `capacity` bytes are written.
size_t EncodeFromUtf8(std::string_view utf8, CodePage page, char* out, size_t capacity);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string* out, char32_t cp);

// Decodes one code point at *pos and advances; invalid input yields U+FFFD
// and advances one byte.
char32_t NextCodePoint(std::string_view utf8, size_t* pos);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace kolvio
