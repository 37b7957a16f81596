#pragma once

#include <string>
#include <vector>

// The global VB code of a rule file, split into its module part and the classes written inline
// in it ("Class <name>" ... "End Class"), which VB only accepts as files of their own. Every line
// is normalised on the way: leading white space cut, the "()" of a member read or called through
// an object dropped, and the code of lines that begin "Private "/"private " made public, but for
// what a class takes only as Private.
class CGlobalCode {
public:
    explicit CGlobalCode(std::string text);
    virtual ~CGlobalCode() = default;

    // Splits the text once; a second call finds no lines left. Always true.
    bool Split();
    // False when there is no class block; names and bodies share their positions.
    bool GetClassNames(std::vector<std::string>& names) const;
    bool GetClassBodies(std::vector<std::string>& bodies) const;
    // Where each class starts: the line of the text (from 1) that holds its "Class" line.
    bool GetClassLines(std::vector<long>& lines) const;
    // False, leaving code as it was, when the module part is empty.
    bool GetModuleCode(std::string& code) const;
    // For each line of the module part, and of each class body, the line of the text (from 1)
    // that it came from; a blank line that the split adds takes the line of the one after it, or
    // of its "Class" line.
    const std::vector<long>& ModuleLines() const { return moduleLines_; }
    const std::vector<std::vector<long>>& ClassBodyLines() const { return classBodyLines_; }

    // Code that the split drops. The line on which a class block starts that no "End Class"
    // closes, with everything after it; 0 when every block is closed.
    long UnclosedClassLine() const { return unclosedClassLine_; }
    // Text after the last line feed, never read; false when it is only white space.
    bool GetUnreadLastLine(std::string& text, long& line) const;

private:
    // The next line without its line feed; false when no line feed is left, so text after the
    // last one is never read.
    bool ReadLine(std::string& line);

    std::string text_;
    size_t readPosition_ = 0;
    // Lines read so far.
    long linesRead_ = 0;
    std::string modulePart_;
    std::vector<long> moduleLines_;
    std::vector<std::vector<long>> classBodyLines_;
    std::vector<std::string> classNames_;
    std::vector<std::string> classBodies_;
    std::vector<long> classLines_;
    long unclosedClassLine_ = 0;
};
