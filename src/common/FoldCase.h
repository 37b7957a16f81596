#pragma once

#include <string>
#include <string_view>

// text with its ASCII letters in lower case, other bytes as they are: the form in which names
// that become file names are compared, since Windows and VB tell them apart ignoring case.
std::string FoldCase(std::string_view text);
// True when a and b are the same but for the case of ASCII letters.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
