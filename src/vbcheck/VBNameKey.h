#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "common/FoldCase.h"

// The key a declared name is told apart by. Latin letters in any case are one name to VB6; for
// other scripts it is not sure that VB6 folds them (a double-byte Greek letter in code page 932 is
// not: Japanese code declares both γa and Γa in one module), so such a name is kept as written and
// a name twice is never found where VB6 sees two.
inline void NameKeyInto(std::string_view name, std::string& key)
{
    // U+0280 and beyond: past the Latin letters.
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xCA; }))
        key.assign(name);
    else
        FoldCaseInto(name, key);
}
