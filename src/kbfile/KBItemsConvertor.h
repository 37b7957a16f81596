#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kbfile/KBCodeCheck.h"
#include "kbfile/KBReader.h"
#include "kbfile/KBWarnings.h"
#include "xml/XmlDocument.h"
#include "xml/XmlNode.h"

class CGlobalCode;
class CKBElementValues;
class CKBItem;
class CKBReaderError;
class CLog;
class CTextEncoder;
class CVBProjectBuilder;

// The rule-file reader: loads one rule file, hands its module, global code and KB items to a
// project builder for the target folder, and has the builder write the project. Writes one step
// line to the log per global-code and item element read. A missing required node raises
// CKBReaderError; the step line of the element being read is then written with "Fail!" first.
// What reads but would be lost or not compile becomes a warning with its line.
class CKBItemsConvertor : public CKBReader {
public:
    // encoder (borrowed) is the code page the project's files are written in; none writes UTF-8.
    // checkCode: whether the VB code is checked as VB6 would compile it, for warnings.
    explicit CKBItemsConvertor(CTextEncoder* encoder = nullptr, bool checkCode = true);
    ~CKBItemsConvertor() override;

    bool LoadModule(std::string rulePath, std::string targetFolder) override;
    // The same for a rule file's bytes as an editor holds them, unsaved; url names the file in
    // messages. Its project is only checked, never built.
    bool LoadModuleText(const std::string& text, const std::string& url);
    bool ReadItems() override;
    bool BuildProject() override;
    bool CheckProject() override;

    std::string ModuleName() const override { return moduleName_; }
    std::string FailureReason() const override { return failureReason_; }
    long FailureLine() const override { return failureLine_; }
    // Where on that line a rule file that is not well-formed XML went wrong: 1 for the line's
    // first character; 0 when not known.
    int FailureColumn() const { return failureColumn_; }
    std::vector<CKBWarning> Warnings() const override { return warnings_.InLineOrder(); }
    // What ReadItems handed on; none before LoadModule.
    CVBProjectBuilder* Builder() { return builder_.get(); }

private:
    // Takes the loaded document's module; false, with the reason, when document did not load.
    bool TakeModule(std::unique_ptr<CXmlDocument> document, bool loaded);
    bool ParseClassblockNode(const CXmlNode& node);
    bool ParseDemonNode(const CXmlNode& node);
    bool ParseEventNode(const CXmlNode& node, const std::string& className);
    bool ParseFilterNode(const CXmlNode& node);
    bool ParseMethodNode(const CXmlNode& node, const std::string& className);
    bool ParseRuleNode(const CXmlNode& node);
    bool ParseSortNode(const CXmlNode& node);
    // Hands a read item to the builder through add, with the warnings of its code and the lines
    // that point into the rule file.
    using AddItem = void (CVBProjectBuilder::*)(std::unique_ptr<CKBItem>);
    bool HandOver(std::unique_ptr<CKBItem> item, const CKBElementValues& values, std::array<long, 2> partLines,
                  AddItem add);
    bool CollectChildAttributes(const CXmlNode& node, std::vector<std::string>& list,
                                std::string_view attributeName);

    void ReadGlobalCode(const CXmlNode& node);
    // Raises the reader error for a class whose file another class, or the service class, would
    // replace; firstLine is the rule file's line where the code's first line stands.
    void CheckClassNames(const CGlobalCode& globalCode, long firstLine) const;
    // Reads one element with read and writes its step line with the result; a reader error
    // gets a "Fail!" line and goes on up.
    template <typename Read>
    bool LoggedStep(void (CLog::*logStep)(bool), Read&& read);
    // Every child of the item's element that is not a list element named listName sets code;
    // list elements add their entries' attributeName values to list.
    // codeLine: the rule-file line on which the code starts.
    void ReadCodeAndList(const CKBElementValues& values, std::string_view listName,
                         std::string_view attributeName, std::vector<std::string>& list,
                         std::string& code, long& codeLine);
    // Warns of the item's name and displayname, which go into VB strings.
    void CheckQuotedNames(const CKBElementValues& values, std::string_view name,
                          std::string_view displayname);
    // Remembers why a step failed and returns false.
    bool Fail(std::string reason, long line);
    void Remember(const CKBReaderError& error);

    std::unique_ptr<CXmlDocument> document_;
    std::unique_ptr<CVBProjectBuilder> builder_;
    CTextEncoder* encoder_;
    CLog* log_;
    std::string moduleName_;
    CKBWarnings warnings_;
    std::string failureReason_;
    long failureLine_ = 0;
    int failureColumn_ = 0;
    bool checkCode_;
    // Last, so that a check still reading the builder ends before the builder goes.
    CKBCodeCheck codeCheck_;
};
