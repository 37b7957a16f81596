#include "common/FoldCase.h"

#include <algorithm>
#include <bit>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/UpperCaseTable.h"
#include "common/Utf8.h"

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char32_t UpperCase(char32_t point)
{
    const auto entry = std::lower_bound(kUpperCaseTable.begin(), kUpperCaseTable.end(), point,
                                        [](const SUpperCase& e, char32_t p) { return e.lower < p; });
    return entry != kUpperCaseTable.end() && entry->lower == point ? entry->upper : point;
}

// Appends the character of two or three UTF-8 bytes at text[i] upper-cased and says how many bytes
// it took; 0, appending nothing, when no such character stands there. Characters of four bytes lie
// beyond the Basic Multilingual Plane, which alone is folded.
size_t AppendUpperCase(std::string_view text, size_t i, std::string& folded)
{
    const size_t length = CUtf8::CharacterLength(text.substr(i));
    if (length < 2 || length > 3)
        return 0;
    const std::optional<char32_t> point = CUtf8::CodePoint(text.substr(i, length));
    if (!point)
        return 0;
    CUtf8::Append(UpperCase(*point), folded);
    return length;
}

// token, of ASCII alone, stands at text[at] ignoring case.
bool IsAtIgnoringAsciiCase(std::string_view text, size_t at, std::string_view token)
{
    for (size_t i = 0; i < token.size(); ++i) {
        if (LowerAscii(text[at + i]) != LowerAscii(token[i]))
            return false;
    }
    return true;
}

// A token with characters beyond ASCII is compared in full at every position.
size_t FindBeyondAscii(std::string_view text, std::string_view token, size_t from)
{
    for (size_t pos = from; pos < text.size(); ++pos) {
        if (EqualIgnoringCase(text.substr(pos, token.size()), token))
            return pos;
    }
    return std::string_view::npos;
}

}  // namespace

std::string FoldCase(std::string_view text)
{
    std::string folded;
    FoldCaseInto(text, folded);
    return folded;
}

void FoldCaseInto(std::string_view text, std::string& folded)
{
    // Names are mostly ASCII: lowered in place up to the first byte beyond it.
    folded.assign(text);
    size_t i = 0;
    for (; i < folded.size() && static_cast<unsigned char>(folded[i]) < 0x80; ++i)
        folded[i] = LowerAscii(folded[i]);
    if (i == folded.size())
        return;
    folded.resize(i);
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            folded += LowerAscii(text[i++]);
            continue;
        }
        const size_t length = AppendUpperCase(text, i, folded);
        if (length == 0)
            folded += text[i++];
        i += length;
    }
}

// Character by character, without folded copies: the VB check asks this for most words it reads.
bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    // Names and keywords are mostly ASCII: compared as such until a byte beyond it turns up.
    size_t i = 0;
    for (; i < a.size() && i < b.size(); ++i) {
        if ((static_cast<unsigned char>(a[i]) | static_cast<unsigned char>(b[i])) >= 0x80)
            return FoldCase(a.substr(i)) == FoldCase(b.substr(i));
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return a.size() == b.size();
}

// No character beyond ASCII folds as an ASCII one does (ASCII letters fold to lower case, the others
// to upper case), so a token of ASCII alone stands only where each byte is the token's, in either
// case. Candidates are the places where the first and the last byte stand, sixteen tested at once
// where the processor can: routine names are searched for in every routine's code.
size_t FindIgnoringCase(std::string_view text, std::string_view token, size_t from)
{
    if (token.empty())
        return from <= text.size() ? from : std::string_view::npos;
    if (from >= text.size() || text.size() - from < token.size())
        return std::string_view::npos;
    if (std::any_of(token.begin(), token.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        return FindBeyondAscii(text, token, from);
    const size_t last = token.size() - 1;
    const size_t end = text.size() - last;
    size_t pos = from;
#if defined(__SSE2__)
    // A letter's case bit is set on both sides, so that both cases meet; other bytes compare as they are.
    const auto caseBit = [](char c) { return _mm_set1_epi8(c >= 'a' && c <= 'z' ? 0x20 : 0); };
    const char first = LowerAscii(token[0]), lastByte = LowerAscii(token[last]);
    const __m128i firstBit = caseBit(first), lastBit = caseBit(lastByte);
    const __m128i firstWanted = _mm_set1_epi8(first), lastWanted = _mm_set1_epi8(lastByte);
    for (; end - pos >= 16; pos += 16) {
        const auto load = [&](size_t at) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        };
        const __m128i starts = _mm_cmpeq_epi8(_mm_or_si128(load(pos), firstBit), firstWanted);
        const __m128i ends = _mm_cmpeq_epi8(_mm_or_si128(load(pos + last), lastBit), lastWanted);
        for (auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(starts, ends))); found != 0;
             found &= found - 1) {
            const size_t at = pos + static_cast<size_t>(std::countr_zero(found));
            if (IsAtIgnoringAsciiCase(text, at, token))
                return at;
        }
    }
#endif
    for (; pos < end; ++pos) {
        if (IsAtIgnoringAsciiCase(text, pos, token))
            return pos;
    }
    return std::string_view::npos;
}

