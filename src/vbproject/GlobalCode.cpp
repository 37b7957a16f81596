#include "vbproject/GlobalCode.h"

#include <string_view>
#include <utility>
#include <vector>

#include "common/FoldCase.h"
#include "common/VBCodeScanner.h"

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

bool StartsWithIgnoringCase(std::string_view line, std::string_view start)
{
    return line.size() >= start.size() && EqualIgnoringCase(line.substr(0, start.size()), start);
}

using Token = CVBCodeScanner::Token;
using Kind = CVBCodeScanner::Kind;

bool IsKeyword(const CVBCodeScanner& scanner, const Token& token, std::string_view word)
{
    return token.kind == Kind::Name && !token.bracketed && !token.member &&
           EqualIgnoringCase(scanner.Text(token), word);
}

// A class module takes Declare statements, constants, user-defined types, arrays and
// fixed-length strings only as Private members. tokens[i] is the line's Private.
bool StaysPrivateInClass(const CVBCodeScanner& scanner, const std::vector<Token>& tokens, size_t i)
{
    if (i + 1 < tokens.size()) {
        for (std::string_view word : {"Declare", "Const", "Type"}) {
            if (IsKeyword(scanner, tokens[i + 1], word))
                return true;
        }
        for (std::string_view word : {"Sub", "Function", "Property", "Enum", "Event"}) {
            if (IsKeyword(scanner, tokens[i + 1], word))
                return false;
        }
    }
    // Variables to the end of the statement: "(" only follows an array's name, "*" only a
    // fixed-length String.
    for (size_t j = i + 1; j < tokens.size() && scanner.SymbolOf(tokens[j]) != ':'; ++j) {
        if (scanner.SymbolOf(tokens[j]) == '(' || scanner.SymbolOf(tokens[j]) == '*')
            return true;
    }
    return false;
}

// tokens[i] is the "(" of a "()" that follows a member read or called through an object
// ("obj.Value()"), not a type after As or New ("As Lib.Thing()", an array's type).
bool IsEmptyMemberCall(const CVBCodeScanner& scanner, const std::vector<Token>& tokens, size_t i)
{
    if (i == 0 || i + 1 >= tokens.size() || scanner.SymbolOf(tokens[i]) != '(' ||
        scanner.SymbolOf(tokens[i + 1]) != ')' || tokens[i + 1].start != tokens[i].start + 1)
        return false;
    size_t head = i - 1;
    if (tokens[head].kind != Kind::Name || !tokens[head].member)
        return false;
    while (head >= 2 && tokens[head].member && tokens[head - 2].kind == Kind::Name)
        head -= 2;
    return head == 0 ||
           !(IsKeyword(scanner, tokens[head - 1], "As") || IsKeyword(scanner, tokens[head - 1], "New"));
}

// VB rejects the empty parentheses of a call through an object ("obj.Value()"), and private
// members of a module are out of the classes' reach once the code is split. Only the code of the
// line is rewritten, never its strings and comments; inComment carries a comment that a " _"
// continues from one line to the next.
void NormaliseLine(std::string& line, bool inClass, bool& inComment)
{
    line.erase(0, line.find_first_not_of(kWhiteSpace));
    CVBCodeScanner scanner(line, inComment);
    std::vector<Token> tokens;
    bool dotInCode = false;
    for (Token token; scanner.Next(token);) {
        tokens.push_back(token);
        dotInCode = dotInCode || scanner.SymbolOf(token) == '.' ||
                    (token.kind == Kind::Number && scanner.Text(token).find('.') != std::string_view::npos);
    }
    inComment = scanner.InComment();
    const bool makePublic = line.starts_with("Private ") || line.starts_with("private ");
    std::string result;
    size_t copied = 0;
    for (size_t i = 0; i < tokens.size() && (makePublic || dotInCode); ++i) {
        std::string_view replacement;
        size_t replaced = 0;
        if (makePublic && IsKeyword(scanner, tokens[i], "Private") &&
            !(inClass && StaysPrivateInClass(scanner, tokens, i))) {
            replacement = "Public";
            replaced = tokens[i].length;
        } else if (dotInCode && IsEmptyMemberCall(scanner, tokens, i)) {
            replaced = 2;
        } else {
            continue;
        }
        result.append(line, copied, tokens[i].start - copied).append(replacement);
        copied = tokens[i].start + replaced;
    }
    if (copied == 0)
        return;
    result.append(line, copied, std::string::npos);
    line = std::move(result);
}

bool IsCommentLine(std::string_view line)
{
    return line.starts_with('\'');
}

bool IsClassStartLine(std::string_view line)
{
    return StartsWithIgnoringCase(line, "Class ");
}

bool IsClassEndLine(std::string_view line)
{
    return StartsWithIgnoringCase(line, "End Class");
}

// The last word of the line: "Class Pump" gives "Pump", "Class " alone gives "Class".
std::string ClassName(std::string_view line)
{
    size_t end = line.find_last_not_of(kWhiteSpace);
    line = line.substr(0, end == std::string_view::npos ? 0 : end + 1);
    size_t lastBlank = line.rfind(' ');
    return std::string(lastBlank == std::string_view::npos ? line : line.substr(lastBlank + 1));
}

} // namespace

CGlobalCode::CGlobalCode(std::string text) : text_(std::move(text)) {}

bool CGlobalCode::ReadLine(std::string& line)
{
    size_t lineFeed = text_.find('\n', readPosition_);
    if (lineFeed == std::string::npos)
        return false;
    line.assign(text_, readPosition_, lineFeed - readPosition_);
    readPosition_ = lineFeed + 1;
    ++linesRead_;
    return true;
}

bool CGlobalCode::Split()
{
    // Comments above a class belong to it; above a module line, to the module part. Until the
    // next line tells which, they wait, and with no such line they are dropped.
    std::string pendingComments;
    std::vector<long> pendingLines;
    std::string className;
    std::string classLines;
    std::vector<long> classLineNumbers;
    long classLine = 0;
    bool inClass = false;
    bool inComment = false;
    std::string line;
    while (ReadLine(line)) {
        NormaliseLine(line, inClass, inComment);
        if (inClass && IsClassEndLine(line)) {
            classNames_.push_back(std::move(className));
            classLines_.push_back(classLine);
            classBodies_.push_back(pendingComments + "\n" + classLines);
            pendingLines.push_back(classLine);
            pendingLines.insert(pendingLines.end(), classLineNumbers.begin(), classLineNumbers.end());
            classBodyLines_.push_back(std::move(pendingLines));
            className.clear();
            classLines.clear();
            classLineNumbers.clear();
            pendingComments.clear();
            pendingLines.clear();
            inClass = false;
        } else if (inClass) {
            classLines += line + "\n";
            classLineNumbers.push_back(linesRead_);
        } else if (IsCommentLine(line)) {
            pendingComments += line + "\n";
            pendingLines.push_back(linesRead_);
        } else if (IsClassStartLine(line)) {
            className = ClassName(line);
            classLine = linesRead_;
            inClass = true;
        } else {
            if (!pendingComments.empty()) {
                modulePart_ += pendingComments + "\n";
                moduleLines_.insert(moduleLines_.end(), pendingLines.begin(), pendingLines.end());
                moduleLines_.push_back(linesRead_);
            }
            modulePart_ += line + "\n";
            moduleLines_.push_back(linesRead_);
            pendingComments.clear();
            pendingLines.clear();
        }
    }
    if (inClass)
        unclosedClassLine_ = classLine;
    return true;
}

bool CGlobalCode::GetClassNames(std::vector<std::string>& names) const
{
    if (classNames_.empty())
        return false;
    names = classNames_;
    return true;
}

bool CGlobalCode::GetClassBodies(std::vector<std::string>& bodies) const
{
    if (classBodies_.empty())
        return false;
    bodies = classBodies_;
    return true;
}

bool CGlobalCode::GetClassLines(std::vector<long>& lines) const
{
    if (classLines_.empty())
        return false;
    lines = classLines_;
    return true;
}

bool CGlobalCode::GetModuleCode(std::string& code) const
{
    if (modulePart_.empty())
        return false;
    code = modulePart_;
    return true;
}

bool CGlobalCode::GetUnreadLastLine(std::string& text, long& line) const
{
    if (text_.find_first_not_of(kWhiteSpace, readPosition_) == std::string::npos)
        return false;
    text = text_.substr(readPosition_);
    line = linesRead_ + 1;
    return true;
}
