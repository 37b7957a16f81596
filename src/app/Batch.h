#pragma once

#include <string>

class CConvertHelper;

// The command-line batch: every rule file that the pattern finds is converted into the target
// folder, and what became of each is said on the console, one line per report.
class CBatch {
public:
    // Exit statuses of the program.
    static constexpr int kAllConverted = 0;
    static constexpr int kConversionFailed = 1;
    static constexpr int kUsageError = 2;

    explicit CBatch(CConvertHelper& converter);

    // Whether each file's warnings go to standard error; they do unless told not to.
    void ShowWarnings(bool shown) { warningsShown_ = shown; }
    // Returns the exit status.
    int Run(const std::string& pattern, const std::string& targetFolder);
    // Reads every rule file that the pattern finds and reports its errors and shown warnings,
    // writing nothing. Returns kAllConverted when there was neither, kConversionFailed otherwise.
    int Check(const std::string& pattern);

    // The usage on standard error, as wrong arguments get it.
    static void ShowUsage();

private:
    // The lines of one converted or failed rule file.
    void Report(const std::string& rulePath, bool converted) const;

    CConvertHelper& converter_;
    bool warningsShown_ = true;
};
