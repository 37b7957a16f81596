#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "log/TextFile.h"
#include "platform/ProgramFolders.h"
#include "platform/TextEncoder.h"

// The log of one conversion: a file named by the conversion's start time, holding the banners,
// time-stamped step lines and the lines of the code generated for each KB item. It also records
// which item kinds had registration code generated; the builder reads these flags to write the
// handler stubs of the kinds that had none.
class CLog {
public:
    // The current log; created (with its file where Restart() puts it) when there is none.
    static CLog* Instance();
    // Replaces the current log by a new one with cleared flags, its file beside the executable or,
    // when that folder takes no new file, in the user's folder for logs.
    static CLog* Restart();
    // The same with the file beside folders.executable (unless it is a folder of the system) or in
    // folders.userLogs, created when missing. No folder that takes the file gives a log without a file, which writes nothing.
    static CLog* Restart(const CProgramFolders& folders);
    // The file in logFolder (which ends in "/") alone; std::nullopt gives a log without a file.
    static CLog* Restart(const std::optional<std::string>& logFolder);

    virtual ~CLog();

    // "%Y-%m-%d %H.%M.%S" of the local time now; empty if formatting fails. Valid until the next call.
    static const std::string& TimeText();

    // Empty folders are no place for the file; userFolder is created when needed and missing.
    void OpenFile(const std::string& logFolder, const std::string& userFolder = "");
    // The code page of the lines written from now on; none writes UTF-8.
    void SetEncoder(std::unique_ptr<CTextEncoder> encoder);
    bool HasFile() const { return file_.IsOpen(); }
    // Full path of the log file, empty when the log has none.
    const std::string& FilePath() const { return filePath_; }
    // Why the log has no file ("cannot create /opt/x.txt: Permission denied"); empty when it has one.
    const std::string& FileProblem() const { return fileProblem_; }
    // Why a line could not be written ("No space left on device", "File too large"); the log ends
    // with the line before it. Empty while every line was written.
    const std::string& WriteProblem() const { return writeProblem_; }
    // Whether any line reached the file.
    bool AnyWritten() const { return anyWritten_; }

    void BeginConversion(const std::string& rulePath);
    void FinishConversion(const std::string& rulePath);
    // The time-stamped line that ends a failed conversion's log: why it failed, as the user was told.
    void LogFailure(std::string_view message);

    void LogStep(std::string_view message, bool success);
    void LogParseDemon(bool success);
    void LogParseEvent(bool success);
    void LogParseFilter(bool success);
    void LogParseGlobalCode(bool success);
    void LogParseMethod(bool success);
    void LogParseRule(bool success);
    void LogParseSort(bool success);
    // "Write <what> to VB <extension> file."
    void LogWriteFile(std::string_view what, std::string_view extension, bool success);

    // Sets the kind flag of kindWord ("Method", "Demon", ...) as well as writing the line.
    void LogRegisterCode(std::string_view kindWord, std::string_view itemText);
    void LogComEntryCode(std::string_view kindWord, std::string_view itemText);
    void LogImplementCode(std::string_view kindWord, std::string_view itemText);

    // Appends the empty handler procedure of every kind whose flag is clear.
    void AppendHandlerStubs(std::string& text) const;

    bool hasMethod = false;
    bool hasEvent = false;
    bool hasDemon = false;
    bool hasFilter = false;
    bool hasRule = false;
    bool hasSort = false;

private:
    // Creates a file named by the time in folder; false when the folder takes no new file.
    bool CreateIn(const std::string& folder);
    void WriteBanner(std::string_view bannerTemplate, const std::string& rulePath);
    // Writes an item line: the template with kind and item filled in, then the time.
    void WriteItemLine(std::string_view lineTemplate, std::string_view kindWord, std::string_view itemText);
    void SetKindFlag(std::string_view kindWord);
    // Writes text unless an earlier line failed, remembering why a write fails.
    void Put(std::string_view text);

    std::unique_ptr<CTextEncoder> encoder_;
    CTextFile file_;
    std::string filePath_;
    std::string fileProblem_;
    std::string writeProblem_;
    bool anyWritten_ = false;
    // The line being built, kept to spare an allocation for each of the hundreds of thousands.
    std::string line_;
};
