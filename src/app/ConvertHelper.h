#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kbfile/KBReader.h"
#include "platform/ProgramFolders.h"
#include "platform/TextEncoder.h"

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

    // The real reader, writing in the chosen code page; logs and config.txt beside the executable,
    // or in the user's own folders.
    CConvertHelper();
    // appFolder (ending in "/") takes the logs and config.txt; std::nullopt keeps neither.
    CConvertHelper(ReaderFactory makeReader, std::optional<std::string> appFolder);
    CConvertHelper(ReaderFactory makeReader, CProgramFolders folders);
    virtual ~CConvertHelper();

    // The code page that project files and logs are written in from now on: a Windows code page
    // number or a name the platform knows (CTextEncoder). False, keeping the earlier one, when
    // it is unknown. Until then the platform's default.
    bool SetCodePage(const std::string& codePage);

    // argv[1] is the rule-file pattern, argv[2] the target folder. Returns the exit status.
    int ConvertBatch(int argc, const char* const* argv);
    // Whether the batch reports each file's warnings on standard error; it does unless told not to.
    void ShowWarnings(bool shown) { warningsShown_ = shown; }
    // True when the project was written.
    bool ConvertFile(const std::string& rulePath, const std::string& targetFolder);
    // Characters of the last conversion's project files that the code page has no place for.
    size_t Replacements() const { return replacements_; }
    // 0 when created; 183 when an entry of that name exists; 21 when the medium is not ready.
    static int CreateProjectFolder(const std::string& path);

    // The dialog's remembered target folder, kept in config.txt beside the executable, or in the
    // user's folder where the executable's takes no file. Load fills target from the file's first
    // line, or with documentsFolder when that gives nothing.
    void LoadTargetFolder(std::string& target, const std::string& documentsFolder) const;
    // False when config.txt can be written nowhere; the dialog ignores it.
    bool SaveTargetFolder(const std::string& target) const;

    // Why the last conversion failed, and the rule file's line where that is known (0 otherwise).
    const std::string& FailureReason() const { return failureReason_; }
    long FailureLine() const { return failureLine_; }
    // "RULE_PATH:LINE: error: REASON", the way compilers report, without "LINE:" when unknown.
    std::string FailureMessage(const std::string& rulePath) const;
    // The full path of the last conversion's log file; empty when it wrote none.
    const std::string& LogPath() const { return logPath_; }
    // "RULE_PATH: note: log file LOG_PATH", or "RULE_PATH: note: no log file was written: REASON".
    std::string LogNote(const std::string& rulePath) const;
    // "RULE_PATH:LINE: warning: TEXT", without "LINE:" when unknown.
    static std::string WarningMessage(const std::string& rulePath, const CKBWarning& warning);

    static void ShowUsage();

private:
    // The projects a batch has written: each module name, case folded, with its rule file.
    using WrittenModules = std::map<std::string, std::string>;

    // Where config.txt is looked for, in order.
    std::vector<std::string> ConfigPathsToRead() const;
    // ConvertFile; within a batch, written keeps a project from being replaced by another rule
    // file's of the same name.
    bool Convert(const std::string& rulePath, const std::string& targetFolder, WrittenModules* written);
    bool RunSteps(CKBReader& reader, const std::string& rulePath, const std::string& targetFolder,
                  WrittenModules* written);
    // False, with the reason, when the batch already wrote the project that reader would write.
    bool IsModuleFree(const CKBReader& reader, const WrittenModules& written);

    void RememberFailure(const CKBReader& reader, std::string reason, long line);

    // "RULE_PATH: warning: N characters have no place in code page CP and were written as '?'".
    std::string ReplacementWarning(const std::string& rulePath) const;

    std::string codePage_;
    // The project files' encoder, lent to each reader; its count runs over all conversions.
    std::unique_ptr<CTextEncoder> encoder_;
    size_t replacements_ = 0;
    ReaderFactory makeReader_;
    CProgramFolders folders_;
    std::string failureReason_;
    long failureLine_ = 0;
    std::string logPath_;
    // Why the last conversion has no log file; empty when it has one.
    std::string logProblem_;
    // The last conversion's warnings, which the batch reports and the dialog does not.
    std::vector<CKBWarning> warnings_;
    bool warningsShown_ = true;
};
