#include "app/CommandLine.h"

#include "common/MessageText.h"
#include "platform/TextEncoder.h"

namespace {

// The code page is the one written when none is given.
constexpr std::string_view kUsage =
    "Usage: {program} [param1] [param2].\n"
    "         param1: the file name of .pxkbx file, you can use \"*\" in the file name.\n"
    "         param2: the target path of the conversion.\n"
    "         --codepage CP: write the project in the code page of the Windows machine that opens it (1252, 932, ...; default {codePage}).\n"
    "         -h, --help: print this text and exit.\n"
    "         -V, --version: print the program's version and exit.\n"
    "         --no-warnings: do not warn of what would be lost or not compile.\n"
    "         --dialog [FILE]: open the dialog, with FILE chosen as the rule file when it exists.\n"
    "         --lsp: serve editors as a language server on standard input and output: errors and warnings while a rule file is typed, its outline, go to definition, hover.\n"
    "         --check: only read the files of param1 and report their errors and warnings; write nothing, exit 0 when there are none, 1 otherwise.\n"
    "         --: end of the options; a pattern after it may start with \"-\".\n";
constexpr std::string_view kVersionLine = "rulecast {version}";
constexpr std::string_view kUnknownOption = "rulecast: unknown option '{word}'";
constexpr std::string_view kMissingValue = "rulecast: option '{word}' needs a value";
constexpr std::string_view kUnknownCodePage = "rulecast: unknown code page '{word}'";
constexpr std::string_view kDialogFileCount = "rulecast: option '{word}' takes one rule file at most";
constexpr std::string_view kServerArguments = "rulecast: option '{word}' takes no arguments";

constexpr std::string_view kCodePageOption = "--codepage";
constexpr std::string_view kDialogOption = "--dialog";
constexpr std::string_view kServerOption = "--lsp";

constexpr std::string_view kEndOfOptions = "--";

}  // namespace

CCommandLine::CCommandLine(const std::vector<std::string>& words)
{
    if (words.empty()) {
        request_ = Request::Dialog;
        return;
    }
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.empty() || word[0] != '-') {
            arguments_.push_back(word);
            continue;
        }
        if (word == kEndOfOptions) {
            optionsEnded = true;
            continue;
        }
        bool usedNext = false;
        if (!TakeOption(word, i + 1 < words.size() ? &words[i + 1] : nullptr, usedNext))
            Refuse(kUnknownOption, word);
        if (request_ != Request::Convert)
            return;
        if (usedNext)
            ++i;
    }
    if (dialogWanted_)
        TakeDialogFile();
    else if (serverWanted_ && !arguments_.empty())
        Refuse(kServerArguments, kServerOption);
    else if (serverWanted_)
        request_ = Request::LanguageServer;
}

bool CCommandLine::TakeOption(const std::string& word, const std::string* next, bool& usedNext)
{
    if (word == "-h" || word == "--help")
        request_ = Request::Help;
    else if (word == "-V" || word == "--version")
        request_ = Request::Version;
    else if (word.starts_with(std::string(kCodePageOption) + "="))
        TakeCodePage(word.substr(kCodePageOption.size() + 1));
    else if (word == kCodePageOption && next) {
        TakeCodePage(*next);
        usedNext = true;
    } else if (word == kCodePageOption)
        Refuse(kMissingValue, word);
    else if (word == "--no-warnings")
        warningsWanted_ = false;
    else if (word == kDialogOption)
        dialogWanted_ = true;
    else if (word == "--check")
        checkOnly_ = true;
    else if (word == kServerOption)
        serverWanted_ = true;
    else if (word == "--stdio" && serverWanted_) {
        // What editors' clients add to name the channel, which is the only one there is.
    }
    else
        return false;
    return true;
}

void CCommandLine::TakeCodePage(const std::string& codePage)
{
    // Checked here, so that an unknown one is a usage error before anything is converted.
    if (!CTextEncoder::Create(codePage))
        Refuse(kUnknownCodePage, codePage);
    codePage_ = codePage;
}

void CCommandLine::TakeDialogFile()
{
    if (arguments_.size() > 1) {
        Refuse(kDialogFileCount, kDialogOption);
        return;
    }
    request_ = Request::Dialog;
    if (!arguments_.empty())
        ruleFile_ = arguments_.front();
}

void CCommandLine::Refuse(std::string_view errorTemplate, std::string_view word)
{
    request_ = Request::UsageError;
    error_ = MessageText(errorTemplate, {{"word", word}});
}

std::string CCommandLine::Usage()
{
    return MessageText(kUsage, {{"program", std::string_view(RULECAST_PROGRAM_NAME)},
                                {"codePage", CTextEncoder::DefaultCodePage()}});
}

std::string CCommandLine::VersionLine()
{
    return MessageText(kVersionLine, {{"version", std::string_view(RULECAST_VERSION)}});
}
