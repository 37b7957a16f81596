#include "common/GrowingText.h"

#include <algorithm>

#include "common/Placeholder.h"

namespace {

// The first position at which a token of this length could start and reach into text from pos
// on: up to length - 1 characters before pos.
size_t ReachingBack(size_t pos, size_t tokenLength)
{
    return pos >= tokenLength - 1 ? pos - (tokenLength - 1) : 0;
}

}  // namespace

CGrowingText& CGrowingText::operator+=(std::string_view part)
{
    // Every start kept lies at most at size - (length - 1), so a token completed by the new part
    // is still found: nothing to update.
    text_ += part;
    return *this;
}

void CGrowingText::Fill(std::string_view token, std::string_view value)
{
    if (token.empty())
        return;
    TokenStart& filled = StartOf(token);
    const size_t first = FindPlaceholder(text_, filled.from, token);
    if (first == std::string::npos) {
        filled.from = ReachingBack(text_.size(), token.size());
        return;
    }
    // The token can come back only where the text changed: a value may carry it, and a value
    // joined with the characters around it may complete it.
    size_t changedEnd = std::string::npos;
    if (FindPlaceholder(text_, first + token.size(), token) == std::string::npos) {
        // The one occurrence: behind the value the text is as it was, without the token.
        text_.replace(first, token.size(), value);
        changedEnd = std::min(text_.size(), first + value.size() + token.size() - 1);
    } else {
        FillPlaceholderFrom(text_, first, token, value);
    }
    // Any token may be carried in or completed from first on.
    for (TokenStart& start : starts_)
        start.from = std::min(start.from, ReachingBack(first, start.token.size()));
    const size_t back =
        FindPlaceholder(std::string_view(text_).substr(0, changedEnd), ReachingBack(first, token.size()), token);
    filled.from = back != std::string::npos ? back : ReachingBack(text_.size(), token.size());
}

void CGrowingText::clear()
{
    text_.clear();
    starts_.clear();
}

std::string CGrowingText::Release()
{
    std::string text = std::move(text_);
    clear();
    return text;
}

CGrowingText::TokenStart& CGrowingText::StartOf(std::string_view token)
{
    // The tokens of templates differ in their last character: looked at first, it settles most.
    for (TokenStart& start : starts_)
        if (start.token.back() == token.back() && start.token == token)
            return start;
    return starts_.emplace_back(TokenStart{std::string(token), 0});
}

void FillPlaceholder(CGrowingText& text, std::string_view token, std::string_view value)
{
    text.Fill(token, value);
}
