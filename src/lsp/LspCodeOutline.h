#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The classes written inline in a VB text (from a line "Class NAME" to "End Class") and the
// procedures declared in it (Sub, Function, Property), with where each stands, found line by line
// as VB reads declarations.
class CLspCodeOutline {
public:
    struct Declaration {
        bool isClass = false;
        std::string keyword;  // "Class", "Sub", "Function", "Property Get", ...
        std::string name;
        size_t start = 0;      // the declaration line's first character
        size_t nameStart = 0;
        size_t nameEnd = 0;
        size_t end = 0;        // past its end line, or the text's end
        int parent = -1;       // the class it stands in
    };

    // text stands at offset base of the document; every offset given is the document's.
    CLspCodeOutline(std::string_view text, size_t base);

    const std::vector<Declaration>& Declarations() const { return declarations_; }
    // Whether c may stand in a VB name; bytes from 0x80 up are letters of some code page.
    static bool IsNameCharacter(char c);

private:
    void ReadLine(std::string_view line, size_t start);
    // The procedure a line declares; false for any other line.
    bool ReadProcedureHeader(std::string_view line, size_t start);

    std::vector<Declaration> declarations_;
    int openClass_ = -1;
    int openProcedure_ = -1;
};
