#pragma once

#include <string>
#include <vector>

// Start-up: the argument count chooses between the batch and the dialog.
class CRulecastApp {
public:
    // words are the command line's, the program's name first. Returns the process's exit status.
    int InitInstance(const std::vector<std::string>& words);
};
