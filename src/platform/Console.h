#pragma once

#include <cstddef>
#include <string_view>

// The batch's messages: each one line on the console, in place of a message box. A console that
// nobody else shares vanishes with the program, so there the messages are held and shown in one
// message box instead. A
// write that fails (a full disk, a closed pipe) is said once on the other stream, as GNU tools say it.
class CConsole {
public:
    // Once, first thing at start-up: a standard stream that was closed is opened on the null
    // device, so that no file the program opens takes its number and receives its lines; and a
    // reader that went away (a closed pipe) fails a write like a full disk, not ending the batch.
    static void Prepare();
    static void Inform(std::string_view text);  // standard output
    static void Warn(std::string_view text);    // standard error
    // Shows the messages held for a console of its own, all in one message box: the first
    // kHeldLinesShown lines and how many more there were. ExitStatus does it last.
    static void ShowHeld();
    static constexpr size_t kHeldLinesShown = 20;
    static constexpr std::string_view kMoreLines = "... and {count} more lines";
    // True when this process is its console's only one: Windows made the console for it, as for
    // a start from Explorer or a shortcut. Never on Linux, where a terminal outlives the program.
    static bool StandsAlone();
    // status, or 1 in place of success when a write to standard output or error failed; shows
    // what is held first.
    static int ExitStatus(int status);

    static constexpr std::string_view kWriteError = "rulecast: write error: {reason}\n";
};
