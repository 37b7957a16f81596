#pragma once

#include <string>
#include <string_view>

// Whether a name from the rule file can become a file or folder name of the project. The rule is
// Windows', where VB runs, and holds on every platform, so that what converts on one converts on
// the others: no path separator, no control character, none of : < > " | ? *, no device name,
// no dot or space at the end, and no more than 255 UTF-16 units with its extension.
class CSafeName {
public:
    // Why name, followed by extension (".vbp"), cannot be a file name ("it is a reserved device
    // name"); empty when it can.
    static std::string Problem(std::string_view name, std::string_view extension = {});
};
