#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What is said of one rule file, the way compilers report: "PATH:LINE: KIND: TEXT", without
// "LINE:" where the line is not known (0). The batch prints these lines, the dialog shows them as
// its message's details, and a failed conversion's log ends with its error line.
class CRuleFileReport {
public:
    static std::string Error(const std::string& rulePath, long line, std::string_view reason);
    static std::string Warning(const std::string& rulePath, long line, std::string_view text);
    // "PATH: note: log file LOG_PATH"; with a problem, "... is incomplete: PROBLEM", or without a
    // log "PATH: note: no log file was written: PROBLEM"; empty when there is neither.
    static std::string LogNote(const std::string& rulePath, const std::string& logPath,
                               const std::string& logProblem);
    // "PATH: warning: N characters have no place in code page CP and were written as '?'".
    static std::string Replacements(const std::string& rulePath, size_t count, const std::string& codePage);

private:
    static std::string Line(const std::string& rulePath, long line, std::string_view kind, std::string_view text);
};
