#include "vbproject/GlobalCode.h"

#include <string_view>
#include <utility>

#include "common/FoldCase.h"

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

bool StartsWithIgnoringCase(std::string_view line, std::string_view start)
{
    return line.size() >= start.size() && EqualIgnoringCase(line.substr(0, start.size()), start);
}

// One pass, left to right: a "()" formed by the removal itself stays.
void ReplaceAll(std::string& line, std::string_view from, std::string_view to)
{
    std::string result;
    size_t copied = 0;
    for (size_t pos = line.find(from); pos != std::string::npos; pos = line.find(from, copied)) {
        result.append(line, copied, pos - copied).append(to);
        copied = pos + from.size();
    }
    result.append(line, copied, std::string::npos);
    line = std::move(result);
}

// VB rejects the empty parentheses of a call through an object ("obj.Value()"), and private
// members of a module are out of the classes' reach once the code is split.
void NormaliseLine(std::string& line)
{
    line.erase(0, line.find_first_not_of(kWhiteSpace));
    if (line.find('.') != std::string::npos)
        ReplaceAll(line, "()", "");
    if (line.starts_with("Private ") || line.starts_with("private ")) {
        ReplaceAll(line, "Private ", "Public ");
        ReplaceAll(line, "private ", "Public ");
    }
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
    std::string line;
    while (ReadLine(line)) {
        NormaliseLine(line);
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
