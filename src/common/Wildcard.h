#pragma once

#include <string>
#include <string_view>

#include "common/Utf8.h"

// A whole-name match of "*" (any run) and "?" (any one character), as the batch expands its
// rule-file pattern; every other character stands for itself.
class CWildcard {
public:
    // Over UTF-8, where "?" stands for one character, a byte that is no part of one counting as
    // one; every other byte stands for itself.
    static bool Matches(const std::string& wildcard, const std::string& name);

    // The same match over any kind of character, where same(a, b) tells equal characters apart.
    template <typename Text, typename Same>
    static bool Matches(const Text& wildcard, const Text& name, Same same);

private:
    // Units of name's character at at: the bytes of one UTF-8 character in a narrow text, one unit
    // in any other.
    template <typename Text>
    static size_t CharacterLength(const Text& name, size_t at);
};

template <typename Text>
size_t CWildcard::CharacterLength(const Text& name, size_t at)
{
    if constexpr (sizeof(name[at]) != 1)
        return 1;
    else
        return CUtf8::CharacterLength(std::string_view(name.data() + at, name.size() - at));
}

template <typename Text, typename Same>
bool CWildcard::Matches(const Text& wildcard, const Text& name, Same same)
{
    // Iterative match with one backtrack point: linear enough for names, never recursive.
    size_t w = 0, n = 0, starW = Text::npos, starN = 0;
    while (n < name.size()) {
        if (w < wildcard.size() && wildcard[w] == '?') {
            ++w;
            n += CharacterLength(name, n);
        } else if (w < wildcard.size() && wildcard[w] != '*' && same(wildcard[w], name[n])) {
            ++w;
            ++n;
        } else if (w < wildcard.size() && wildcard[w] == '*') {
            starW = w++;
            starN = n;
        } else if (starW != Text::npos) {
            // A run ends between characters, so that no "?" starts within one.
            w = starW + 1;
            starN += CharacterLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (w < wildcard.size() && wildcard[w] == '*')
        ++w;
    return w == wildcard.size();
}
