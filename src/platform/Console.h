#pragma once

#include <string_view>

// The batch's messages: each one line on the console, in place of a message box. A console that
// nobody else shares vanishes with the program, so there each message is a message box instead. A
// write that fails (a full disk, a closed pipe) is said once on the other stream, as GNU tools say it.
class CConsole {
public:
    static void Inform(std::string_view text);  // standard output
    static void Warn(std::string_view text);    // standard error
    // True when this process is its console's only one: Windows made the console for it, as for
    // a start from Explorer or a shortcut. Never on Linux, where a terminal outlives the program.
    static bool StandsAlone();
    // status, or 1 in place of success when a write to standard output or error failed.
    static int ExitStatus(int status);

    static constexpr std::string_view kWriteError = "rulecast: write error: {reason}\n";
};
