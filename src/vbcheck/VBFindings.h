#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "vbcheck/VBFinding.h"

// The findings of one module as they are made, kept by piece and line so that they come out in
// source order although a block left open is only known to be so further down.
class CVBFindings {
public:
    void Add(int piece, int line, std::string_view message);
    // While quiet, findings are dropped: the rest of a line whose first error is already told.
    void SetQuiet(bool quiet) { quiet_ = quiet; }
    // In source order, each piece's number replaced by its caller's origin.
    std::vector<VBFinding> Sorted(const std::vector<int>& origins) const;

private:
    struct Entry {
        int piece;
        int line;
        std::string message;
    };
    std::vector<Entry> entries_;
    bool quiet_ = false;
};
