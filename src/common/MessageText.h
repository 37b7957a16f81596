#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Texts of the program's own that a person reads: reasons, notes, warnings. Unlike generated VB,
// each placeholder ITEM_0000n of the template is filled once, with the n-th value inserted as it
// is: a value that holds a token is never filled again. Control characters in the values are shown
// escaped ("\n", "\r", "\t", "\x1b"), so a name or path holding a line break cannot forge a line.
std::string MessageText(std::string_view messageTemplate, std::initializer_list<std::string_view> values);

// text with its control characters escaped as MessageText shows them.
std::string EscapeControls(std::string_view text);
