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
    // The names of every entry of folder, "." and ".." left out, in no order; none when it cannot
    // be listed.
    static std::vector<std::string> Names(const std::string& folder);
};
