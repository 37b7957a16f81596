#pragma once

#include <string>
#include <string_view>

// text in the form in which names that become file names are compared, since Windows and VB tell
// them apart ignoring case: ASCII letters in lower case, every other character of the Basic
// Multilingual Plane in its simple upper case, as Windows folds file names; other bytes as they are.
std::string FoldCase(std::string_view text);
// The same into folded, replacing what it held: a caller that folds many names in turn keeps one
// buffer for them.
void FoldCaseInto(std::string_view text, std::string& folded);
// True when a and b fold to the same text.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
// The first position at or after from where a text that folds as token does stands;
// std::string_view::npos when there is none.
size_t FindIgnoringCase(std::string_view text, std::string_view token, size_t from);
