#include "app/CommandLine.h"

#include "common/MessageText.h"

namespace {

// ITEM_00001: the program's name.
constexpr std::string_view kUsage =
    "Usage: ITEM_00001 [param1] [param2].\n"
    "         param1: the file name of .pxkbx file, you can use \"*\" in the file name.\n"
    "         param2: the target path of the conversion.\n"
    "         -h, --help: print this text and exit.\n"
    "         -V, --version: print the program's version and exit.\n"
    "         --no-warnings: do not warn of what would be lost or not compile.\n"
    "         --: end of the options; a pattern after it may start with \"-\".\n";
constexpr std::string_view kVersionLine = "rulecast ITEM_00001";
constexpr std::string_view kUnknownOption = "rulecast: unknown option 'ITEM_00001'";

constexpr std::string_view kEndOfOptions = "--";

}  // namespace

CCommandLine::CCommandLine(const std::vector<std::string>& words)
{
    if (words.empty()) {
        request_ = Request::Dialog;
        return;
    }
    bool optionsEnded = false;
    for (const std::string& word : words) {
        if (optionsEnded || word.empty() || word[0] != '-') {
            arguments_.push_back(word);
            continue;
        }
        if (word == kEndOfOptions) {
            optionsEnded = true;
            continue;
        }
        if (!TakeOption(word))
            Refuse(kUnknownOption, word);
        if (request_ != Request::Convert)
            return;
    }
}

bool CCommandLine::TakeOption(const std::string& word)
{
    if (word == "-h" || word == "--help")
        request_ = Request::Help;
    else if (word == "-V" || word == "--version")
        request_ = Request::Version;
    else if (word == "--no-warnings")
        warningsWanted_ = false;
    else
        return false;
    return true;
}

void CCommandLine::Refuse(std::string_view errorTemplate, std::string_view word)
{
    request_ = Request::UsageError;
    error_ = MessageText(errorTemplate, {word});
}

std::string CCommandLine::Usage()
{
    return MessageText(kUsage, {RULECAST_PROGRAM_NAME});
}

std::string CCommandLine::VersionLine()
{
    return MessageText(kVersionLine, {RULECAST_VERSION});
}
