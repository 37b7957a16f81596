#include "common/FoldCase.h"

#include <algorithm>

#include "common/UpperCaseTable.h"

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

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Appends the character of two or three UTF-8 bytes at text[i] upper-cased and says how many bytes
// it took; 0, appending nothing, when no such character stands there.
size_t AppendUpperCase(std::string_view text, size_t i, std::string& folded)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[i + k]); };
    char32_t point = 0;
    size_t length = 0;
    if (byte(0) >= 0xC2 && byte(0) < 0xE0 && i + 1 < text.size() && IsContinuation(byte(1))) {
        point = (char32_t{byte(0)} & 0x1F) << 6 | (byte(1) & 0x3F);
        length = 2;
    } else if (byte(0) >= 0xE0 && byte(0) < 0xF0 && i + 2 < text.size() && IsContinuation(byte(1)) &&
               IsContinuation(byte(2))) {
        point = (char32_t{byte(0)} & 0x0F) << 12 | (char32_t{byte(1)} & 0x3F) << 6 | (byte(2) & 0x3F);
        length = point >= 0x800 ? 3 : 0;
    }
    if (length == 0)
        return 0;
    point = UpperCase(point);
    if (point < 0x800) {
        folded += static_cast<char>(0xC0 | point >> 6);
    } else {
        folded += static_cast<char>(0xE0 | point >> 12);
        folded += static_cast<char>(0x80 | (point >> 6 & 0x3F));
    }
    folded += static_cast<char>(0x80 | (point & 0x3F));
    return length;
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
// to upper case), so a token that starts in ASCII stands only where its first byte does, in either
// case: those places are found by memchr, and the rest of the text is not looked at.
size_t FindIgnoringCase(std::string_view text, std::string_view token, size_t from)
{
    if (token.empty())
        return from <= text.size() ? from : std::string_view::npos;
    if (static_cast<unsigned char>(token[0]) >= 0x80) {
        for (size_t pos = from; pos < text.size(); ++pos) {
            if (EqualIgnoringCase(text.substr(pos, token.size()), token))
                return pos;
        }
        return std::string_view::npos;
    }
    const char lower = LowerAscii(token[0]);
    const char upper = lower >= 'a' && lower <= 'z' ? static_cast<char>(lower - 'a' + 'A') : lower;
    size_t nextLower = text.find(lower, from);
    size_t nextUpper = upper == lower ? std::string_view::npos : text.find(upper, from);
    while (nextLower != std::string_view::npos || nextUpper != std::string_view::npos) {
        const size_t pos = std::min(nextLower, nextUpper);
        if (EqualIgnoringCase(text.substr(pos, token.size()), token))
            return pos;
        if (pos == nextLower)
            nextLower = text.find(lower, pos + 1);
        else
            nextUpper = text.find(upper, pos + 1);
    }
    return std::string_view::npos;
}
