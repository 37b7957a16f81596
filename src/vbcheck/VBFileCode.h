#pragma once

#include <string_view>

// Where the code of a whole VB6 file starts, as VB6 loads it: after the VERSION line, the
// designer block (BEGIN ... END, Begin ... End with its BeginProperty parts) and the Attribute
// lines that follow them, which the IDE never shows.
class CVBFileCode {
public:
    explicit CVBFileCode(std::string_view file);

    std::string_view Code() const { return file_.substr(codeStart_); }
    // Lines before the code: a finding at line n of Code() is at line n + this of the file.
    int LinesBefore() const { return linesBefore_; }

private:
    std::string_view file_;
    size_t codeStart_ = 0;
    int linesBefore_ = 0;
};
