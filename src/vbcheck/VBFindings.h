#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "vbcheck/VBFinding.h"

// Where a finding stands on its line, in characters.
struct VBPlace {
    int column = 0;
    int length = 0;
};

// The findings of one module as they are made, kept by piece and line so that they come out in
// source order although a block left open is only known to be so further down.
class CVBFindings {
public:
    // The text of the piece being read: the places of its tokens are counted in it.
    void SetText(std::string_view text) { text_ = text; }
    // The place of token, a view into the current piece's text; unknown for any other view.
    VBPlace PlaceOf(std::string_view token) const;
    void Add(int piece, int line, std::string_view message, VBPlace place = {});
    // While quiet, findings are dropped: the rest of a line whose first error is already told.
    void SetQuiet(bool quiet) { quiet_ = quiet; }
    // In source order, each piece's number replaced by its caller's origin.
    std::vector<VBFinding> Sorted(const std::vector<int>& origins) const;

private:
    struct Entry {
        int piece;
        int line;
        std::string message;
        VBPlace place;
    };
    std::vector<Entry> entries_;
    std::string_view text_;
    bool quiet_ = false;
};
