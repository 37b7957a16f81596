#pragma once

#include <string>
#include <string_view>

// The ten-character tokens ITEM_00001 .. ITEM_00008 stand in every template of the system.
// FillPlaceholder replaces every occurrence of token in text by value, case-sensitively, left to
// right and without overlap; the inserted value is not searched again by the same call. Values go in
// verbatim: an empty value removes the token.
void FillPlaceholder(std::string& text, std::string_view token, std::string_view value);
