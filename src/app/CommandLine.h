#pragma once

#include <string>
#include <string_view>
#include <vector>

// The words after the program's name: options first, then the rule-file pattern and the target
// folder. Every word that starts with "-" is an option until "--", after which a pattern may start
// with "-" too.
class CCommandLine {
public:
    enum class Request {
        Dialog,     // no words at all, or --dialog with at most one argument: RuleFile()
        Convert,    // the batch, with the arguments left after the options
        Help,       // --help: the usage on standard output
        Version,    // --version
        LanguageServer,  // --lsp: the language server for editors, on standard input and output
        UsageError  // an unknown option or a bad value: Error() says which
    };

    explicit CCommandLine(const std::vector<std::string>& words);

    Request GetRequest() const { return request_; }
    // The words that are not options, in order; the batch expects exactly two.
    const std::vector<std::string>& Arguments() const { return arguments_; }
    // The code page given with --codepage, checked; empty when none was given.
    const std::string& CodePage() const { return codePage_; }
    // "rulecast: unknown option '-x'", for a usage error.
    const std::string& Error() const { return error_; }
    // False after --no-warnings.
    bool WarningsWanted() const { return warningsWanted_; }
    // The rule file given after --dialog; empty when none was.
    const std::string& RuleFile() const { return ruleFile_; }
    // True after --check: the batch reads and reports, writes nothing, and takes no target folder.
    bool CheckOnly() const { return checkOnly_; }

    // The usage text: the two parameters, then one line per option.
    static std::string Usage();
    // "rulecast 1.2.0"
    static std::string VersionLine();

private:
    // False when word is no option this program knows. An option with a value takes it from
    // the word itself ("--codepage=1252") or from the next word, which then counts as used.
    bool TakeOption(const std::string& word, const std::string* next, bool& usedNext);
    void TakeCodePage(const std::string& codePage);
    void Refuse(std::string_view errorTemplate, std::string_view word);
    // After the words: --dialog turns the arguments into the rule file it opens with.
    void TakeDialogFile();

    Request request_ = Request::Convert;
    std::vector<std::string> arguments_;
    std::string codePage_;
    std::string error_;
    bool warningsWanted_ = true;
    bool dialogWanted_ = false;
    std::string ruleFile_;
    bool checkOnly_ = false;
    bool serverWanted_ = false;
};
