#pragma once

#include <string_view>

// The batch's messages: each one line on the console, in place of a message box.
class CConsole {
public:
    static void Inform(std::string_view text);  // standard output
    static void Warn(std::string_view text);    // standard error
};
