#pragma once

#include <string_view>

// The batch's messages: each one line on the console, in place of a message box. A console that
// nobody else shares vanishes with the program, so there each message is a message box instead.
class CConsole {
public:
    static void Inform(std::string_view text);  // standard output
    static void Warn(std::string_view text);    // standard error
    // True when this process is its console's only one: Windows made the console for it, as for
    // a start from Explorer or a shortcut. Never on Linux, where a terminal outlives the program.
    static bool StandsAlone();
};
