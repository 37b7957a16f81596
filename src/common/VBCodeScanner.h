#pragma once

#include <cstddef>
#include <string_view>

// Reads VB code as VB tells its parts apart, so that rewriting the user's code touches names and
// symbols of the code alone: what stands in a string literal or a comment ("'" or Rem, continued
// by a " _" at its end) is never a name, and a name after "." or "!" is marked as a member of
// another object. Blanks, comments and line continuations give no token.
class CVBCodeScanner {
public:
    enum class Kind { Name, Symbol, Number, String, LineEnd };
    struct Token {
        Kind kind = Kind::LineEnd;
        // Of a name, the name alone: without the brackets of [a name] and without a type suffix.
        size_t start = 0;
        size_t length = 0;
        bool member = false;
        // Written in brackets: a name, never a keyword.
        bool bracketed = false;
    };

    // inComment: the code starts on a line that a comment of the line before continues.
    explicit CVBCodeScanner(std::string_view code, bool inComment = false)
        : code_(code), inComment_(inComment)
    {
    }

    // The logical line around pos: from the start of its first physical line to the line feed (or
    // the end of the code) of its last, the lines between joined by a " _" at their ends. It
    // starts without a comment from the line before, so it can be read on its own.
    static size_t LogicalLineStart(std::string_view code, size_t pos);
    static size_t LogicalLineEnd(std::string_view code, size_t pos);

    // The next token; false at the end of the code.
    bool Next(Token& token);
    // True when the code ends in a comment that continues on the next line.
    bool InComment() const { return inComment_; }
    std::string_view Text(const Token& token) const { return code_.substr(token.start, token.length); }
    // A symbol token's character.
    char SymbolOf(const Token& token) const { return token.kind == Kind::Symbol ? code_[token.start] : '\0'; }

private:
    bool Emit(Token& token, Kind kind, size_t start, size_t length);
    // Moves to the line feed that ends the comment, or past it when a " _" continues the comment.
    void SkipComment();
    // True, moving past the line feed, when the "_" at the position ends the line after a blank.
    bool SkipContinuation();
    void ReadName(Token& token);
    bool ReadBracketedName(Token& token);
    void SkipNumber();
    void SkipString();
    // True when the name just read is the keyword Rem.
    bool IsRem(const Token& token) const;

    std::string_view code_;
    size_t pos_ = 0;
    bool inComment_;
    bool atStatementStart_ = true;
    // The symbol that the token before the current one was; '\0' after other tokens.
    char previousSymbol_ = '\0';
};
