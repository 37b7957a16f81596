#pragma once

#include <string_view>

// The batch's messages: each one line on the console, in place of a message box. A write that
// fails (a full disk, a closed pipe) is said once on the other stream, as GNU tools say it.
class CConsole {
public:
    static void Inform(std::string_view text);  // standard output
    static void Warn(std::string_view text);    // standard error
    // status, or 1 in place of success when a write to standard output or error failed.
    static int ExitStatus(int status);

    // ITEM_00001: the C library's words for the failure.
    static constexpr std::string_view kWriteError = "rulecast: write error: ITEM_00001\n";
};
