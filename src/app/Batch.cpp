#include "app/Batch.h"

#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/ConvertHelper.h"
#include "app/RuleFileReport.h"
#include "common/MessageText.h"
#include "platform/Console.h"
#include "platform/FileSearch.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kNoRuleFile = "Cannot find the .pxkbx file.\n";
constexpr std::string_view kNoTargetFolder = "Cannot find the target folder.\n";
// After "Cannot find ...": the path as the program received it, since a quoting slip in a batch
// file is otherwise invisible.
constexpr std::string_view kNoSuchFile = "rulecast: note: no such file: {path}";
constexpr std::string_view kNoSuchFolder = "rulecast: note: no such folder: {path}";
constexpr std::string_view kNotAFolder = "rulecast: note: not a folder: {path}";
constexpr std::string_view kIsAFolder = "rulecast: note: is a folder: {path}";

// "Cannot find the .pxkbx file." and what was looked for.
void SayNoRuleFile(const std::string& pattern)
{
    CConsole::Warn(kNoRuleFile);
    CConsole::Warn(MessageText(CFileSystem::IsFolder(pattern) ? kIsAFolder : kNoSuchFile, {{"path", pattern}}));
}

}  // namespace

CBatch::CBatch(CConvertHelper& converter) : converter_(converter) {}

void CBatch::ShowUsage()
{
    CConsole::Warn(CCommandLine::Usage());
}

int CBatch::Run(const std::string& pattern, const std::string& targetFolder)
{
    // The whole list is taken before the first conversion, so projects written into the
    // searched folder do not join the batch.
    const std::vector<std::string> rulePaths = CFileSearch::Find(pattern);
    if (rulePaths.empty()) {
        SayNoRuleFile(pattern);
        return kUsageError;
    }
    // A file is no target either: most often a second rule file, from a pattern that the shell
    // expanded.
    if (!CFileSystem::IsFolder(targetFolder)) {
        CConsole::Warn(kNoTargetFolder);
        CConsole::Warn(MessageText(CFileSystem::EntryExists(targetFolder) ? kNotAFolder : kNoSuchFolder,
                                   {{"path", targetFolder}}));
        return kUsageError;
    }
    bool anyFailed = false;
    CConvertHelper::WrittenModules written;
    for (const std::string& rulePath : rulePaths) {
        const bool converted = converter_.ConvertFile(rulePath, targetFolder, written);
        Report(rulePath, converted);
        anyFailed = anyFailed || !converted;
    }
    if (anyFailed) {
        CConsole::Warn(CConvertHelper::kFailedMessage);
        return kConversionFailed;
    }
    CConsole::Inform(CConvertHelper::kSucceededMessage);
    return kAllConverted;
}

int CBatch::Check(const std::string& pattern)
{
    const std::vector<std::string> rulePaths = CFileSearch::Find(pattern);
    if (rulePaths.empty()) {
        SayNoRuleFile(pattern);
        return kUsageError;
    }
    bool anyFound = false;
    for (const std::string& rulePath : rulePaths) {
        const bool readable = converter_.CheckFile(rulePath);
        Report(rulePath, readable);
        anyFound = anyFound || !readable || (warningsShown_ && !converter_.Warnings().empty());
    }
    return anyFound ? kConversionFailed : kAllConverted;
}

void CBatch::Report(const std::string& rulePath, bool converted) const
{
    if (warningsShown_) {
        for (const CKBWarning& warning : converter_.Warnings())
            CConsole::Warn(CRuleFileReport::Warning(rulePath, warning.line, warning.text));
        if (converter_.Replacements() > 0)
            CConsole::Warn(CRuleFileReport::Replacements(rulePath, converter_.Replacements(), converter_.CodePage()));
    }
    if (!converted)
        CConsole::Warn(converter_.FailureMessage(rulePath));
    // A log cut short is said even of a success: whoever reads it later would take it for whole.
    if (!converted || !converter_.LogWhole())
        if (std::string note = converter_.LogNote(rulePath); !note.empty())
            CConsole::Warn(note);
}
