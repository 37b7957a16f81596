#pragma once

#include <string_view>
#include <vector>

#include "vbcheck/VBToken.h"

// Cuts VB text into logical lines of tokens: physical lines joined at " _", comments dropped
// (a comment that ends in " _" goes on to the next line, as in VB6). Lines end at CR LF, LF or a
// lone CR. The tokens view the text, which must outlive them.
class CVBLexer {
public:
    // What a logical line holds beside its tokens.
    struct Line {
        int firstLine = 0;
        // The first lexical error (Line too long, ...); empty when there is none.
        std::string_view problem;
        // What it is about, a view into the text (empty when unknown), and the physical line.
        VBTextAt problemAt;
        // A character VB6 does not take in code: the line is not judged, since its message
        // would not be one of ours.
        bool unknownCharacter = false;
    };

    explicit CVBLexer(std::string_view text) : text_(text) {}

    // The next logical line, its tokens ending in an End token; false at the end of the text.
    bool NextLine(std::vector<VBToken>& tokens, Line& line);

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }
    void Problem(Line& line, std::string_view message, std::string_view about = {}) const;
    bool AtLineEnd() const;
    // Steps over one line end; false at the end of the text.
    bool EndPhysicalLine(Line& line);
    bool IsContinuation() const;
    void SkipComment(Line& line);
    void ReadWord(std::vector<VBToken>& tokens, Line& line);
    void ReadNumber(std::vector<VBToken>& tokens);
    bool ReadBasedNumber(std::vector<VBToken>& tokens);
    bool ReadDate(std::vector<VBToken>& tokens);
    void ReadString(std::vector<VBToken>& tokens);
    bool ReadEscapedName(std::vector<VBToken>& tokens);
    void ReadSymbol(std::vector<VBToken>& tokens, Line& line);
    // Inline: it runs for every token.
    void Push(std::vector<VBToken>& tokens, VBTokenKind kind, size_t start, size_t end, unsigned char id = 0)
    {
        // The indentation after a " _" is no blank before: x _ / .Name stays one operand.
        const bool spaceBefore = tokenOnLine_ && start > lineStart_ && IsBlank(text_[start - 1]);
        tokens.push_back({kind, id, false, spaceBefore, line_, std::string_view(text_.data() + start, end - start)});
        tokenOnLine_ = true;
    }

    std::string_view text_;
    size_t pos_ = 0;
    size_t lineStart_ = 0;
    int line_ = 1;
    int continuations_ = 0;
    bool tokenOnLine_ = false;  // a token was read on the current physical line
};
