#include "app/RulecastApp.h"

#include "app/CommandLine.h"
#include "app/ConvertHelper.h"
#include "app/DialogLauncher.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

int CRulecastApp::InitInstance(const std::vector<std::string>& words)
{
    const std::string program = words.empty() ? std::string() : words.front();
    const auto afterProgram = words.empty() ? words.end() : words.begin() + 1;
    CCommandLine commandLine(std::vector<std::string>(afterProgram, words.end()));
    switch (commandLine.GetRequest()) {
    case CCommandLine::Request::Dialog:
        return RunMainDialog(words, commandLine.RuleFile());
    case CCommandLine::Request::Help:
        CConsole::Inform(CCommandLine::Usage());
        return CConvertHelper::kAllConverted;
    case CCommandLine::Request::Version:
        CConsole::Inform(CCommandLine::VersionLine());
        return CConvertHelper::kAllConverted;
    case CCommandLine::Request::UsageError:
        CConsole::Warn(commandLine.Error());
        CConvertHelper::ShowUsage();
        return CConvertHelper::kUsageError;
    case CCommandLine::Request::Convert:
        break;
    }
    // A rule file dropped onto the program, or opened from Explorer without --dialog: on a console
    // of its own, a usage error would vanish unseen.
    if (commandLine.Arguments().size() == 1 && CConsole::StandsAlone()) {
        const std::string& ruleFile = commandLine.Arguments().front();
        if (CFileSystem::EntryExists(ruleFile) && !CFileSystem::IsFolder(ruleFile))
            return RunMainDialog(words, ruleFile);
    }
    // The batch sees the program and the words that are not options, as if no option was given.
    std::vector<const char*> arguments{program.c_str()};
    for (const std::string& argument : commandLine.Arguments())
        arguments.push_back(argument.c_str());
    CConvertHelper converter;
    // The command line has checked it already.
    if (!commandLine.CodePage().empty())
        converter.SetCodePage(commandLine.CodePage());
    converter.ShowWarnings(commandLine.WarningsWanted());
    return converter.ConvertBatch(static_cast<int>(arguments.size()), arguments.data());
}
