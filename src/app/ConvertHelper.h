#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kbfile/KBReader.h"
#include "platform/ProgramFolders.h"
#include "platform/TextEncoder.h"

class CLog;

// The conversion of one rule file, which the batch and the dialog both use: the reader's steps,
// the log, and why it failed.
class CConvertHelper {
public:
    using ReaderFactory = std::function<std::unique_ptr<CKBReader>()>;
    // The projects a batch has written: each module name, case folded, with its rule file.
    using WrittenModules = std::map<std::string, std::string>;

    // How a conversion ended, as the batch's summary and the dialog's message both say it.
    static constexpr std::string_view kSucceededMessage =
        "The file has been Converted to VB project successfully!";
    static constexpr std::string_view kFailedMessage =
        "Error occurs during conversion! Please check the log file.";

    // makeReader makes each conversion's reader; none makes the real one, writing in the chosen
    // code page. folders take the logs and the dialog's config.txt: beside the executable, or in
    // the user's own folders; with none of them, no log is kept.
    explicit CConvertHelper(ReaderFactory makeReader = nullptr,
                            CProgramFolders folders = CProgramFolders::ForThisUser());
    virtual ~CConvertHelper();

    // The code page that project files and logs are written in from now on: a Windows code page
    // number or a name the platform knows (CTextEncoder). False, keeping the earlier one, when
    // it is unknown. Until then the platform's default.
    bool SetCodePage(const std::string& codePage);
    const std::string& CodePage() const { return codePage_; }
    // Where the logs go, and the dialog's config.txt.
    const CProgramFolders& Folders() const { return folders_; }

    // True when the project was written.
    bool ConvertFile(const std::string& rulePath, const std::string& targetFolder);
    // The same within a batch: written keeps a project from being replaced by another rule file's
    // of the same name, and gains this one's.
    bool ConvertFile(const std::string& rulePath, const std::string& targetFolder, WrittenModules& written);
    // Reads the rule file and finds what converting it would, writing nothing: no project, no log.
    // True when it would convert; Warnings() tells the rest.
    bool CheckFile(const std::string& rulePath);
    // Whether the real reader checks the VB code as VB6 would compile it, which only warns; it
    // does unless told not to.
    void CheckVBCode(bool checked) { vbCodeChecked_ = checked; }
    // Characters of the last conversion's project files that the code page has no place for.
    size_t Replacements() const { return replacements_; }
    // The last conversion's warnings, which the batch reports and the dialog does not.
    const std::vector<CKBWarning>& Warnings() const { return warnings_; }

    // Why the last conversion failed, and the rule file's line where that is known (0 otherwise).
    const std::string& FailureReason() const { return failureReason_; }
    long FailureLine() const { return failureLine_; }
    // "RULE_PATH:LINE: error: REASON", the way compilers report, without "LINE:" when unknown.
    std::string FailureMessage(const std::string& rulePath) const;
    // The full path of the last conversion's log file; empty when it wrote none.
    const std::string& LogPath() const { return logPath_; }
    // "RULE_PATH: note: log file LOG_PATH", "... LOG_PATH is incomplete: REASON", or
    // "RULE_PATH: note: no log file was written: REASON".
    std::string LogNote(const std::string& rulePath) const;
    // Whether the last conversion's log holds every line it was given; a success is silent only then.
    bool LogWhole() const { return logProblem_.empty(); }

private:
    // Converting writes the project and its log; checking writes neither.
    enum class Steps { Convert, Check };

    bool Convert(const std::string& rulePath, const std::string& targetFolder, WrittenModules* written,
                 Steps steps = Steps::Convert);
    // Ends a converted file's log with the finish banner.
    bool RunSteps(CKBReader& reader, CLog& log, const std::string& rulePath, const std::string& targetFolder,
                  WrittenModules* written, Steps steps);
    std::unique_ptr<CKBReader> MakeReader();
    // False, with the reason, when the batch already wrote the project that reader would write.
    bool IsModuleFree(const CKBReader& reader, const WrittenModules& written);

    void RememberFailure(const CKBReader& reader, std::string reason, long line);
    // What became of the log's file once its last line was written.
    void RememberLog(const CLog& log, Steps steps);

    std::string codePage_;
    // The project files' encoder, lent to each reader; its count runs over all conversions.
    std::unique_ptr<CTextEncoder> encoder_;
    size_t replacements_ = 0;
    ReaderFactory makeReader_;
    CProgramFolders folders_;
    std::string failureReason_;
    long failureLine_ = 0;
    std::string logPath_;
    // Why the last conversion has no log file, or an incomplete one; empty when it is whole.
    std::string logProblem_;
    std::vector<CKBWarning> warnings_;
    // The project folder that the last conversion's build made, when there was none before.
    std::string newProjectFolder_;
    bool vbCodeChecked_ = true;
};
