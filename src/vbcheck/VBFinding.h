#pragma once

#include <string>

// One compile error: where the caller's piece of code holds it, and VB6's text for it.
struct VBFinding {
    int origin = 0;  // the id the caller gave the piece
    int line = 0;    // 1 for the piece's first line
    std::string message;
};
