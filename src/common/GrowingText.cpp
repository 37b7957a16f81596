#include "common/GrowingText.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/Placeholder.h"

namespace {

// Every placeholder of the templates is this followed by a digit. Its first character stands
// nowhere else in it, so two placeholders never overlap, and one that starts before another
// ends before it.
constexpr std::string_view kPlaceholderStem = "ITEM_0000";
constexpr size_t kPlaceholderLength = kPlaceholderStem.size() + 1;

// The placeholder's last digit, or -1 when token is no placeholder.
int PlaceholderDigit(std::string_view token)
{
    if (token.size() != kPlaceholderLength || !token.starts_with(kPlaceholderStem))
        return -1;
    const char digit = token.back();
    return digit >= '0' && digit <= '9' ? digit - '0' : -1;
}

// The first position at which a placeholder could start and reach into text from pos on.
size_t ReachingBack(size_t pos)
{
    return pos >= kPlaceholderLength - 1 ? pos - (kPlaceholderLength - 1) : 0;
}

}  // namespace

CGrowingText::CGrowingText(std::string text) : text_(std::move(text))
{
    FindPlaceholders(0, text_.size());
}

CGrowingText& CGrowingText::operator+=(std::string_view part)
{
    // A placeholder cut off by the old end may be completed by the new part.
    const size_t oldSize = text_.size();
    text_ += part;
    FindPlaceholders(ReachingBack(oldSize), text_.size());
    return *this;
}

void CGrowingText::Fill(std::string_view token, std::string_view value)
{
    const int digit = PlaceholderDigit(token);
    if (digit < 0) {
        FillFrom(0, token, value);
        return;
    }
    Positions& positions = placeholders_[digit];
    if (positions.size() == 1) {
        const size_t position = positions.front();
        positions.clear();
        ReplaceOne(position, token.size(), value);
    } else if (!positions.empty()) {
        FillFrom(positions.front(), token, value);
    }
}

void CGrowingText::FillFrom(size_t first, std::string_view token, std::string_view value)
{
    FillPlaceholderFrom(text_, first, token, value);
    ForgetFrom(first);
    FindPlaceholders(ReachingBack(first), text_.size());
}

void CGrowingText::ReplaceOne(size_t position, size_t tokenLength, std::string_view value)
{
    text_.replace(position, tokenLength, value);
    Shift(position, tokenLength, value.size());
    // A placeholder may come back only where the value stands: carried in by it, or completed by
    // it joined with what stands before it or after it.
    FindPlaceholders(ReachingBack(position), position + value.size());
}

void CGrowingText::FindPlaceholders(size_t from, size_t to)
{
    if (text_.size() < kPlaceholderLength)
        return;
    const char* const text = text_.data();
    const size_t end = std::min(to, text_.size() - kPlaceholderLength + 1);
    for (size_t pos = from; pos < end; ++pos) {
        const void* stem = std::memchr(text + pos, kPlaceholderStem[0], end - pos);
        if (!stem)
            break;
        pos = static_cast<size_t>(static_cast<const char*>(stem) - text);
        const char digit = text[pos + kPlaceholderStem.size()];
        if (digit < '0' || digit > '9' ||
            std::memcmp(text + pos + 1, kPlaceholderStem.data() + 1, kPlaceholderStem.size() - 1) != 0)
            continue;
        Positions& positions = placeholders_[digit - '0'];
        auto before = positions.end();
        while (before != positions.begin() && *(before - 1) > pos)
            --before;
        positions.insert(before, pos);
    }
}

void CGrowingText::Shift(size_t position, size_t removed, size_t added)
{
    for (Positions& positions : placeholders_) {
        for (auto it = positions.rbegin(); it != positions.rend() && *it > position; ++it)
            *it = *it - removed + added;
    }
}

void CGrowingText::ForgetFrom(size_t position)
{
    for (Positions& positions : placeholders_) {
        while (!positions.empty() && positions.back() >= position)
            positions.pop_back();
    }
}

void CGrowingText::Clear()
{
    text_.clear();
    ForgetFrom(0);
}

std::string CGrowingText::Release()
{
    std::string text = std::move(text_);
    Clear();
    return text;
}

void FillPlaceholder(CGrowingText& text, std::string_view token, std::string_view value)
{
    text.Fill(token, value);
}
