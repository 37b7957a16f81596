#pragma once

#include <cstddef>
#include <string_view>

// Reads text of a Windows code page (CCodePages) into UTF-8, a piece at a time, as a parser takes
// in a file. Nothing is kept between pieces: what a piece's end cuts off is left unread, and
// comes again at the start of the next piece.
class CTextDecoder {
public:
    struct Result {
        size_t read = 0;     // bytes of the input taken
        size_t written = 0;  // bytes of UTF-8 put out
        bool invalid = false;  // reading stopped before bytes that are no character of the code page
    };

    // Decodes whole characters from the start of in into out, as many as room bytes hold. A C1
    // control is no character of any Windows code page, though Windows' tables put one in each
    // hole of a code page: such a byte is invalid, as it is to every other converter.
    static Result Decode(unsigned codePage, std::string_view in, char* out, size_t room);
};
