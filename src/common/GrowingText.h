#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A generated text that grows at its end and whose placeholders are filled over the whole text,
// byte for byte as FillPlaceholder fills them, tokens carried in by values included. For every token
// filled so far it keeps the position before which that token cannot start, and looks for it from
// there only, so that filling a text item by item costs time in proportion to what each item adds.
class CGrowingText {
public:
    CGrowingText() = default;
    explicit CGrowingText(std::string text) : text_(std::move(text)) {}

    CGrowingText& operator+=(std::string_view part);
    // Replaces every occurrence of token in the whole text by value (see FillPlaceholder).
    void Fill(std::string_view token, std::string_view value);
    void clear();

    const std::string& Text() const { return text_; }
    // Hands the text over, leaving this one empty.
    std::string Release();

    friend bool operator==(const CGrowingText& text, std::string_view other)
    {
        return text.text_ == other;
    }

private:
    struct TokenStart {
        std::string token;
        size_t from;  // no occurrence of token starts before this position
    };

    TokenStart& StartOf(std::string_view token);

    std::string text_;
    std::vector<TokenStart> starts_;
};
