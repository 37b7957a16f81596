#include "vbcheck/VBFindings.h"

#include <algorithm>

#include "common/MessageText.h"
#include "common/Utf8.h"
#include "vbcheck/VBCheckMessages.h"

std::string AsBuildSays(std::string_view message, bool declarationsSection)
{
    if (declarationsSection || message.substr(0, kExpectedPrefix.size()) != kExpectedPrefix)
        return std::string(message);
    std::string detail(message);
    detail[0] = 'e';
    return MessageText(kSyntaxError, {{"detail", detail}});
}

VBPlace CVBFindings::PlaceOf(std::string_view token) const
{
    const char* begin = text_.data();
    const char* at = token.data();
    if (at == nullptr || begin == nullptr || at < begin || at + token.size() > begin + text_.size())
        return {};
    const char* lineStart = at;
    while (lineStart > begin && lineStart[-1] != '\n' && lineStart[-1] != '\r')
        --lineStart;
    const std::string_view before(lineStart, static_cast<size_t>(at - lineStart));
    return {static_cast<int>(CUtf8::CountCharacters(before)) + 1,
            static_cast<int>(CUtf8::CountCharacters(token))};
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
