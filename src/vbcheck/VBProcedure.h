#pragma once

#include <string>

// A procedure a module declares for other modules to call: where the caller's piece of code holds
// its header, and its name as written there.
struct VBProcedure {
    int origin = 0;  // the id the caller gave the piece
    int line = 0;    // 1 for the piece's first line
    std::string name;
};
