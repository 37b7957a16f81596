#pragma once

#include <optional>
#include <string>

// The variables of the environment the program was started in.
class CEnvironment {
public:
    // The variable's value, as UTF-8; none when it is unset or empty, which a path must not be
    // taken from either: an empty WINEPREFIX would point at the file-system root.
    static std::optional<std::string> Value(const std::string& name);
    // True when the variable holds a value that is not empty.
    static bool IsSet(const std::string& name);
};
