#include "vbcheck/VBFindings.h"

#include <algorithm>

namespace {

// Code points of UTF-8 text: continuation bytes do not count.
int CharacterCount(const char* begin, const char* end)
{
    int count = 0;
    for (const char* c = begin; c < end; ++c)
        count += (static_cast<unsigned char>(*c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

VBPlace CVBFindings::PlaceOf(std::string_view token) const
{
    const char* begin = text_.data();
    const char* at = token.data();
    if (at == nullptr || begin == nullptr || at < begin || at + token.size() > begin + text_.size())
        return {};
    const char* lineStart = at;
    while (lineStart > begin && lineStart[-1] != '\n' && lineStart[-1] != '\r')
        --lineStart;
    return {CharacterCount(lineStart, at) + 1, CharacterCount(at, at + token.size())};
}

void CVBFindings::Add(int piece, int line, std::string_view message, VBPlace place)
{
    if (!quiet_ && !message.empty())
        entries_.push_back({piece, line, std::string(message), place});
}

std::vector<VBFinding> CVBFindings::Sorted(const std::vector<int>& origins) const
{
    std::vector<Entry> entries = entries_;
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.piece != b.piece ? a.piece < b.piece : a.line < b.line;
    });
    std::vector<VBFinding> findings;
    for (Entry& entry : entries)
        findings.push_back(
            {origins[entry.piece], entry.line, std::move(entry.message), entry.place.column, entry.place.length});
    return findings;
}
