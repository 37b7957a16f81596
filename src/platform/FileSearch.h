#pragma once

#include <string>
#include <vector>

// Wildcard search over one folder, as the batch expands its rule-file pattern.
class CFileSearch {
public:
    // Full paths of the entries that match the last component of pattern, where "*" and "?" are
    // the only wildcards. The folder part is taken literally and made absolute against the
    // current folder. A last component without wildcards is looked up as the file it names, which
    // is listed unless it is a folder. Otherwise only regular files, once links are followed, are
    // listed, hidden ones included. Sorted by name bytes so that a batch always
    // runs in the same order. Names match as the file system compares them: byte for byte on
    // Linux, without regard to case on Windows, where a file's short 8.3 name finds it too.
    static std::vector<std::string> Find(const std::string& pattern);
    // Whole-name match of "*" (any run) and "?" (any one character of UTF-8, a byte that is no part
    // of one counting as one); every other byte stands for itself.
    static bool Matches(const std::string& wildcard, const std::string& name);

    // The same match over any kind of character, where same(a, b) tells equal characters apart.
    template <typename Text, typename Same>
    static bool Matches(const Text& wildcard, const Text& name, Same same);

private:
    // Units of name's character at at: the bytes of one UTF-8 sequence in a narrow text, one unit
    // in any other.
    template <typename Text>
    static size_t CharacterLength(const Text& name, size_t at);
};

template <typename Text>
size_t CFileSearch::CharacterLength(const Text& name, size_t at)
{
    if constexpr (sizeof(name[at]) != 1) {
        return 1;
    } else {
        const auto lead = static_cast<unsigned char>(name[at]);
        const size_t most = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        size_t length = 1;
        while (length < most && at + length < name.size() &&
               (static_cast<unsigned char>(name[at + length]) & 0xC0) == 0x80)
            ++length;
        return length;
    }
}

template <typename Text, typename Same>
bool CFileSearch::Matches(const Text& wildcard, const Text& name, Same same)
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
