#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8, the program's text inside: one character decoded and encoded, characters counted, and
// where a text may be cut. A byte that is no part of a character is never dropped: it stands for
// itself and counts as one, since a name from a disk or a rule file may hold any byte.
class CUtf8 {
public:
    // A byte that carries on a character (10xxxxxx) and starts none.
    static constexpr bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
    // Bytes of the character at the start of text, which must not be empty; 1 when they are no
    // character (a stray byte, a cut-off sequence), so that each such byte stands alone.
    static size_t CharacterLength(std::string_view text);
    // The code point of a whole character (CharacterLength); none for a stray byte, an overlong
    // form, a surrogate or a value past U+10FFFF, which are no characters either.
    static std::optional<char32_t> CodePoint(std::string_view character);
    // Appends the bytes of point, a character, to out.
    static void Append(char32_t point, std::string& out);
    // Characters of text: every byte but the continuations counts.
    static size_t CountCharacters(std::string_view text);
    // UTF-16 code units of text: two for a character of four bytes, one for every other.
    static size_t Utf16Length(std::string_view text);
    // How many of text's first bytes hold whole characters: a character that the end cuts off, at
    // most three of its bytes, is left out.
    static size_t WholeCharacters(std::string_view text);
    // Where the run of ASCII that starts at from ends.
    static size_t AsciiRunEnd(std::string_view text, size_t from);
    // Calls onRun(run, ascii) for each run of text in turn: the runs of ASCII and the runs of
    // other bytes between them.
    template <typename OnRun>
    static void ForEachRun(std::string_view text, OnRun onRun);
};

template <typename OnRun>
void CUtf8::ForEachRun(std::string_view text, OnRun onRun)
{
    for (size_t start = 0; start < text.size();) {
        const size_t asciiEnd = AsciiRunEnd(text, start);
        if (asciiEnd > start)
            onRun(text.substr(start, asciiEnd - start), true);
        size_t end = asciiEnd;
        while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80)
            ++end;
        if (end > asciiEnd)
            onRun(text.substr(asciiEnd, end - asciiEnd), false);
        start = end;
    }
}
