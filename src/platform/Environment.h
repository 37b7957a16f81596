#pragma once

#include <string>

// The variables of the environment the program was started in.
class CEnvironment {
public:
    // True when the variable holds a value that is not empty.
    static bool IsSet(const std::string& name);
};
