#include "app/RulecastApp.h"

#include "app/Batch.h"
#include "app/CommandLine.h"
#include "app/ConvertHelper.h"
#include "app/DialogLauncher.h"
#include "common/MessageText.h"
#include "lsp/LspServer.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/StandardStreams.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kFirstFileTaken =
    "rulecast: note: the dialog takes one rule file, the first of the {count} given: {path}";

// Whether every word names a file, as Explorer passes the files dropped onto the program.
bool AreDroppedFiles(const std::vector<std::string>& words)
{
    for (const std::string& word : words)
        if (!CFileSystem::EntryExists(word) || CFileSystem::IsFolder(word))
            return false;
    return !words.empty();
}

}  // namespace

int CRulecastApp::InitInstance(const std::vector<std::string>& words)
{
    const auto afterProgram = words.empty() ? words.end() : words.begin() + 1;
    CCommandLine commandLine(std::vector<std::string>(afterProgram, words.end()));
    switch (commandLine.GetRequest()) {
    case CCommandLine::Request::Dialog:
        return RunMainDialog(words, commandLine.RuleFile());
    case CCommandLine::Request::Help:
        CConsole::Inform(CCommandLine::Usage());
        return CBatch::kAllConverted;
    case CCommandLine::Request::Version:
        CConsole::Inform(CCommandLine::VersionLine());
        return CBatch::kAllConverted;
    case CCommandLine::Request::UsageError:
        CConsole::Warn(commandLine.Error());
        CBatch::ShowUsage();
        return CBatch::kUsageError;
    case CCommandLine::Request::LanguageServer: {
        CStandardStreams::UseAsByteChannel();
        return CLspServer(stdin, stdout).Run();
    }
    case CCommandLine::Request::Convert:
        break;
    }
    // A rule file dropped onto the program, or opened from Explorer without --dialog: on a console
    // of its own, a usage error would vanish unseen.
    const std::vector<std::string>& arguments = commandLine.Arguments();
    if (!commandLine.CheckOnly() && CConsole::StandsAlone() && AreDroppedFiles(arguments)) {
        // Several files dropped at once: the dialog converts one at a time.
        if (arguments.size() > 1) {
            CConsole::Warn(MessageText(kFirstFileTaken, {{"count", std::to_string(arguments.size())},
                                                         {"path", arguments.front()}}));
            CConsole::ShowHeld();
        }
        return RunMainDialog(words, arguments.front());
    }
    // The words that are not options: the rule-file pattern and the target folder, which a check
    // does without.
    if (arguments.size() != (commandLine.CheckOnly() ? 1u : 2u)) {
        CBatch::ShowUsage();
        return CBatch::kUsageError;
    }
    CConvertHelper converter;
    // The command line has checked it already.
    if (!commandLine.CodePage().empty())
        converter.SetCodePage(commandLine.CodePage());
    converter.CheckVBCode(commandLine.WarningsWanted());
    CBatch batch(converter);
    batch.ShowWarnings(commandLine.WarningsWanted());
    if (commandLine.CheckOnly())
        return batch.Check(arguments[0]);
    return batch.Run(arguments[0], arguments[1]);
}
