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
    // Whole-name match of "*" (any run) and "?" (any one byte); every other byte stands for itself.
    static bool Matches(const std::string& wildcard, const std::string& name);

    // The same match over any kind of character, where same(a, b) tells equal characters apart.
    template <typename Text, typename Same>
    static bool Matches(const Text& wildcard, const Text& name, Same same);
};

template <typename Text, typename Same>
bool CFileSearch::Matches(const Text& wildcard, const Text& name, Same same)
{
    // Iterative match with one backtrack point: linear enough for names, never recursive.
    size_t w = 0, n = 0, starW = Text::npos, starN = 0;
    while (n < name.size()) {
        if (w < wildcard.size() && (wildcard[w] == '?' || (wildcard[w] != '*' && same(wildcard[w], name[n])))) {
            ++w;
            ++n;
        } else if (w < wildcard.size() && wildcard[w] == '*') {
            starW = w++;
            starN = n;
        } else if (starW != Text::npos) {
            w = starW + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (w < wildcard.size() && wildcard[w] == '*')
        ++w;
    return w == wildcard.size();
}
