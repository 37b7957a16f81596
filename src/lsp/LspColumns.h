#pragma once

#include <cstddef>
#include <string_view>

// Columns of one line of UTF-8 text as the three parties count them: bytes (the program), code
// points (the VB check's findings) and UTF-16 code units (the Language Server Protocol).
class CLspColumns {
public:
    // UTF-16 code units in text: two for a character beyond the Basic Multilingual Plane.
    static int Utf16Units(std::string_view text);
    // Bytes of line taken by its first units UTF-16 code units; the whole line when it is shorter.
    static size_t BytesOfUtf16(std::string_view line, int units);
    // Bytes of line taken by its first count code points; the whole line when it is shorter.
    static size_t BytesOfCodePoints(std::string_view line, int count);
};
