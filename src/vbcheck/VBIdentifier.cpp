#include "vbcheck/VBIdentifier.h"

#include <algorithm>

#include "vbcheck/VBWords.h"

namespace {
constexpr size_t kLongestIdentifier = 255;
}

bool IsVBIdentifier(std::string_view text)
{
    if (text.empty() || text.size() > kLongestIdentifier ||
        !IsNameStart(static_cast<unsigned char>(text.front())))
        return false;
    const bool allNameParts = std::all_of(text.begin(), text.end(), [](char c) {
        return IsNamePart(static_cast<unsigned char>(c));
    });
    return allNameParts && !IsReserved(WordOf(text));
}
