#pragma once

#include <string>
#include <vector>

// Runs the main dialog modally until it closes; returns the process's exit status. Start-up
// reaches the dialog only through this, so the driver never depends on the windowing toolkit.
// words are the command line's, the program's name first; ruleFile, when it names a file, is shown
// as the rule file chosen.
int RunMainDialog(const std::vector<std::string>& words, const std::string& ruleFile);
