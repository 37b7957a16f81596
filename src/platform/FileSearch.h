#pragma once

#include <string>
#include <vector>

// Wildcard search over one folder, as the batch expands its rule-file pattern.
class CFileSearch {
public:
    // Full paths of the entries that match the last component of pattern, where "*" and "?" are
    // the only wildcards. The folder part is taken literally and made absolute against the
    // current folder. Folders, links to folders, "." and ".." are passed over; every other entry
    // that matches is listed, hidden ones included. Sorted by name bytes so that a batch always
    // runs in the same order.
    static std::vector<std::string> Find(const std::string& pattern);
    // Whole-name match of "*" (any run) and "?" (any one byte); every other byte stands for itself.
    static bool Matches(const std::string& wildcard, const std::string& name);
};
