#pragma once

#include <string>
#include <vector>

// Runs the main dialog modally until it closes; returns the process's exit status. Start-up
// reaches the dialog only through this, so the driver never depends on the windowing toolkit.
// words are the command line's, the program's name first.
int RunMainDialog(const std::vector<std::string>& words);
