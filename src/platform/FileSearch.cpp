#include "platform/FileSearch.h"

bool CFileSearch::Matches(const std::string& wildcard, const std::string& name)
{
    // Iterative match with one backtrack point: linear enough for names, never recursive.
    size_t w = 0, n = 0, starW = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (w < wildcard.size() && (wildcard[w] == '?' || wildcard[w] == name[n])) {
            ++w;
            ++n;
        } else if (w < wildcard.size() && wildcard[w] == '*') {
            starW = w++;
            starN = n;
        } else if (starW != std::string::npos) {
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
