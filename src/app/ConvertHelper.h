#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kbfile/KBReader.h"

// The conversion driver: the command-line batch and the conversion of one rule file, which both
// the batch and the dialog use.
class CConvertHelper {
public:
    using ReaderFactory = std::function<std::unique_ptr<CKBReader>()>;

    // Exit statuses of a batch.
    static constexpr int kAllConverted = 0;
    static constexpr int kConversionFailed = 1;
    static constexpr int kUsageError = 2;

    // How a conversion ended, as the batch's summary and the dialog's message both say it.
    static constexpr std::string_view kSucceededMessage =
        "The file has been Converted to VB project successfully!";
    static constexpr std::string_view kFailedMessage =
        "Error occurs during conversion! Please check the log file.";

    // The real reader; logs and config.txt beside the executable.
    CConvertHelper();
    // appFolder (ending in "/") takes the logs and config.txt; std::nullopt keeps neither.
    CConvertHelper(ReaderFactory makeReader, std::optional<std::string> appFolder);
    virtual ~CConvertHelper();

    // argv[1] is the rule-file pattern, argv[2] the target folder. Returns the exit status.
    int ConvertBatch(int argc, const char* const* argv);
    // Whether the batch reports each file's warnings on standard error; it does unless told not to.
    void ShowWarnings(bool shown) { warningsShown_ = shown; }
    // True when the project was written.
    bool ConvertFile(const std::string& rulePath, const std::string& targetFolder);
    // 0 when created; 183 when an entry of that name exists; 21 when the medium is not ready.
    static int CreateProjectFolder(const std::string& path);

    // The dialog's remembered target folder, kept in config.txt in the app folder. Load fills
    // target from the file's first line, or with documentsFolder when that gives nothing.
    void LoadTargetFolder(std::string& target, const std::string& documentsFolder) const;
    // False when config.txt cannot be written; the dialog ignores it.
    bool SaveTargetFolder(const std::string& target) const;

    // Why the last conversion failed, and the rule file's line where that is known (0 otherwise).
    const std::string& FailureReason() const { return failureReason_; }
    long FailureLine() const { return failureLine_; }
    // "RULE_PATH:LINE: error: REASON", the way compilers report, without "LINE:" when unknown.
    std::string FailureMessage(const std::string& rulePath) const;
    // "RULE_PATH:LINE: warning: TEXT", without "LINE:" when unknown.
    static std::string WarningMessage(const std::string& rulePath, const CKBWarning& warning);

    static void ShowUsage();

private:
    std::optional<std::string> ConfigPath() const;
    bool RunSteps(CKBReader& reader, const std::string& rulePath, const std::string& targetFolder);

    void RememberFailure(const CKBReader& reader, std::string reason, long line);

    ReaderFactory makeReader_;
    std::optional<std::string> appFolder_;
    std::string failureReason_;
    long failureLine_ = 0;
    // The last conversion's warnings, which the batch reports and the dialog does not.
    std::vector<CKBWarning> warnings_;
    bool warningsShown_ = true;
};
