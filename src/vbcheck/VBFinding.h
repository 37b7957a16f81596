#pragma once

#include <string>

// One compile error: where the caller's piece of code holds it, and VB6's text for it.
struct VBFinding {
    int origin = 0;  // the id the caller gave the piece
    int line = 0;    // 1 for the piece's first line
    std::string message;
    int column = 0;  // 1 for the line's first character (code point); 0 when unknown
    int length = 0;  // characters of the token or construct it is about; 0 when unknown
};
