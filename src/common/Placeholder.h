#pragma once

#include <string>
#include <string_view>

class CGrowingText;

// The templates of generated VB use the ten-character tokens ITEM_00001 .. ITEM_00008; the fill
// takes any token, and a growing text keeps track of ITEM_00000 .. ITEM_00009 (GrowingText.h).
// FillPlaceholder replaces every occurrence of token in text by value, case-sensitively, left to
// right and without overlap; the inserted value is not searched again by the same call. Values go in
// verbatim: an empty value removes the token.
void FillPlaceholder(std::string& text, std::string_view token, std::string_view value);

// The position of the first occurrence of token in text at or after from; std::string::npos when
// there is none.
size_t FindPlaceholder(std::string_view text, size_t from, std::string_view token);

// The same over text[from..] only, for a caller that knows no token starts before from. Gives the
// position of the first occurrence replaced, or std::string::npos when there was none.
size_t FillPlaceholderFrom(std::string& text, size_t from, std::string_view token,
                           std::string_view value);

// The same over a growing text, which looks for the token only where it can still start.
void FillPlaceholder(CGrowingText& text, std::string_view token, std::string_view value);
