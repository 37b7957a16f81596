#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// A generated text that grows at its end and whose placeholders are filled over the whole text,
// byte for byte as FillPlaceholder fills them, tokens carried in by values included. It keeps the
// positions of the placeholders ITEM_00000 .. ITEM_00009 (the templates use ITEM_00001 ..
// ITEM_00008; the others may come in with a value) that stand in the text, so that filling
// one looks at where it stands and nowhere else: filling a text item by item costs time in
// proportion to what each item adds, however long the text has grown.
class CGrowingText {
public:
    CGrowingText() = default;
    explicit CGrowingText(std::string text);

    CGrowingText& operator+=(std::string_view part);
    // Replaces every occurrence of token in the whole text by value (see FillPlaceholder). A token
    // that is no placeholder of the templates is filled by searching the whole text.
    void Fill(std::string_view token, std::string_view value);
    void Clear();

    const std::string& Text() const { return text_; }
    // Hands the text over, leaving this one empty.
    std::string Release();

    friend bool operator==(const CGrowingText& text, std::string_view other)
    {
        return text.text_ == other;
    }

private:
    using Positions = std::vector<size_t>;

    // Records the placeholders that start in [from, to), each under its last digit.
    void FindPlaceholders(size_t from, size_t to);
    // Moves the positions after position by what a replacement there added or took away.
    void Shift(size_t position, size_t removed, size_t added);
    // Forgets the positions from position on.
    void ForgetFrom(size_t position);
    // Fills token over the text from first on, where no occurrence starts before, and finds the
    // placeholders there again: for tokens of other forms, and for placeholders that stand more
    // than once.
    void FillFrom(size_t first, std::string_view token, std::string_view value);
    // Replaces the one occurrence of a placeholder at position.
    void ReplaceOne(size_t position, size_t tokenLength, std::string_view value);

    std::string text_;
    // Where each placeholder stands, ascending, indexed by its last digit. Only whole ones count:
    // a placeholder that the end of the text cuts off is found when the text grows.
    std::array<Positions, 10> placeholders_;
};
