#pragma once

#include <string>
#include <string_view>

// Whether a name from the rule file can become a file or folder name of the project. The rule is
// Windows', where VB runs, and holds on every platform, so that what converts on one converts on
// the others: no path separator, no control character, none of : < > " | ? *, no device name,
// no dot or space at the end.
class CSafeName {
public:
    // Why name cannot be a file name ("it is a reserved device name"); empty when it can.
    static std::string Problem(std::string_view name);
};
