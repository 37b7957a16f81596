#pragma once

#include <string_view>

// Whether text is a name VB6 takes for a project, module or procedure: a letter first, then
// letters, digits and underscores, at most 255 of them, and no keyword. Bytes from 0x80 up are
// letters of some code page.
bool IsVBIdentifier(std::string_view text);
