#include "vbcheck/VBFindings.h"

#include <algorithm>

void CVBFindings::Add(int piece, int line, std::string_view message)
{
    if (!quiet_ && !message.empty())
        entries_.push_back({piece, line, std::string(message)});
}

std::vector<VBFinding> CVBFindings::Sorted(const std::vector<int>& origins) const
{
    std::vector<Entry> entries = entries_;
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.piece != b.piece ? a.piece < b.piece : a.line < b.line;
    });
    std::vector<VBFinding> findings;
    for (Entry& entry : entries)
        findings.push_back({origins[entry.piece], entry.line, std::move(entry.message)});
    return findings;
}
