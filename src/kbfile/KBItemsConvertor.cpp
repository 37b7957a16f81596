#include "kbfile/KBItemsConvertor.h"

#include <map>
#include <optional>
#include <utility>

#include "common/FoldCase.h"
#include "common/MessageText.h"
#include "common/Placeholder.h"
#include "kbfile/KBElementValues.h"
#include "kbfile/KBReaderError.h"
#include "kbitems/KBDemon.h"
#include "kbitems/KBEvent.h"
#include "kbitems/KBFilter.h"
#include "kbitems/KBMethod.h"
#include "kbitems/KBRule.h"
#include "kbitems/KBSort.h"
#include "log/Log.h"
#include "vbproject/GlobalCode.h"
#include "vbproject/VBProjectBuilder.h"

namespace {

constexpr std::string_view kNoDocument = "no rule file is loaded";
constexpr std::string_view kNoRootElement = "the document has no root element";
constexpr std::string_view kNoRootName = "the root element has no attribute 'name'";
constexpr std::string_view kNoClassblockName = "a Classblock has no attribute 'name'";
constexpr std::string_view kNoClass = "{element} lists no class in a Classlist";
constexpr std::string_view kNamedClassblock = "Classblock '{class}'";
constexpr std::string_view kEntryNotElement =
    "{list} entry is {node}, not an element with '{attribute}'";

constexpr std::string_view kClassTwice =
    "class '{class}' is defined twice in the global code (lines {first} and {second})";
constexpr std::string_view kServiceClassTaken =
    "class name '{class}' is taken by the generated service class";
constexpr std::string_view kServiceClass = "DataServiceImpl";
constexpr std::string_view kModuleTaken = "class name '{class}' is taken by the generated module '{module}'";
constexpr std::string_view kRoutineModule = "KBRoutine";
constexpr std::string_view kProjectTaken = "class name '{class}' is taken by the project, named after the module";

constexpr std::string_view kGlobalCode = "GlobalCode";
constexpr std::string_view kClassblock = "Classblock";
constexpr std::string_view kDemon = "Demon";
constexpr std::string_view kEvent = "Event";
constexpr std::string_view kFilter = "Filter";
constexpr std::string_view kMethod = "Method";
constexpr std::string_view kRule = "Rule";
constexpr std::string_view kSort = "Sort";
constexpr std::string_view kClasslist = "Classlist";
constexpr std::string_view kKeyList = "KeyList";
constexpr std::string_view kPatternCode = "PatternCode";
constexpr std::string_view kActionCode = "ActionCode";

}  // namespace

CKBItemsConvertor::CKBItemsConvertor(CTextEncoder* encoder, bool checkCode)
    : encoder_(encoder), log_(CLog::Instance()), checkCode_(checkCode)
{
}

CKBItemsConvertor::~CKBItemsConvertor() = default;

bool CKBItemsConvertor::LoadModule(std::string rulePath, std::string targetFolder)
{
    // The builder comes first: a reader whose load fails still owns one.
    builder_ = std::make_unique<CVBProjectBuilder>(std::move(targetFolder), encoder_);
    document_.reset();
    auto document = std::make_unique<CXmlDocument>();
    const bool loaded = document->Load(rulePath);
    return TakeModule(std::move(document), loaded);
}

bool CKBItemsConvertor::LoadModuleText(const std::string& text, const std::string& url)
{
    builder_ = std::make_unique<CVBProjectBuilder>(std::string(), encoder_);
    document_.reset();
    auto document = std::make_unique<CXmlDocument>();
    const bool loaded = document->Parse(text, url);
    return TakeModule(std::move(document), loaded);
}

bool CKBItemsConvertor::TakeModule(std::unique_ptr<CXmlDocument> document, bool loaded)
{
    if (!loaded) {
        Fail(document->ErrorMessage(), document->ErrorLine());
        failureColumn_ = document->ErrorColumn();
        return false;
    }
    std::optional<CXmlNode> root = document->Root();
    if (!root)
        return Fail(std::string(kNoRootElement), 0);
    std::string moduleName;
    if (!root->GetAttribute("name", moduleName))
        return Fail(std::string(kNoRootName), root->Line());
    document_ = std::move(document);
    moduleName_ = moduleName;
    warnings_.ModuleName(moduleName, root->Line());
    builder_->SetModuleName(moduleName);
    return true;
}

bool CKBItemsConvertor::ReadItems()
{
    if (!document_ || !builder_) {
        CKBReaderError error(CKBReaderError::kInvalidPointer, std::string(kNoDocument));
        Remember(error);
        throw error;
    }
    std::optional<CXmlNode> root = document_->Root();
    if (!root)
        return Fail(std::string(kNoRootElement), 0);
    // A replaced GlobalCode is remembered by its line.
    long globalCodeLine = 0;
    for (const CXmlNode& child : root->Children()) {
        const std::string name = child.Name();
        bool read = true;
        if (name == kGlobalCode) {
            if (globalCodeLine != 0)
                warnings_.ReplacedElement(kGlobalCode, globalCodeLine, child.Line());
            globalCodeLine = child.Line();
            read = LoggedStep(&CLog::LogParseGlobalCode, [&] {
                ReadGlobalCode(child);
                return true;
            });
        } else if (name == kClassblock)
            read = ParseClassblockNode(child);
        else if (name == kDemon)
            read = LoggedStep(&CLog::LogParseDemon, [&] { return ParseDemonNode(child); });
        else if (name == kRule)
            read = LoggedStep(&CLog::LogParseRule, [&] { return ParseRuleNode(child); });
        else if (name == kSort)
            read = LoggedStep(&CLog::LogParseSort, [&] { return ParseSortNode(child); });
        else if (name == kFilter)
            read = LoggedStep(&CLog::LogParseFilter, [&] { return ParseFilterNode(child); });
        else if (name == kMethod || name == kEvent)
            warnings_.OutsideClassblock(child);
        else if (child.IsElement())
            warnings_.UnknownElement(child, {},
                                     {kGlobalCode, kClassblock, kDemon, kRule, kSort, kFilter});
        if (!read)
            return false;
    }
    // The builder holds copies of everything read.
    document_.reset();
    return true;
}

bool CKBItemsConvertor::BuildProject()
{
    if (!builder_)
        return Fail(std::string(kNoDocument), 0);
    // The check reads the items while the builder writes them out.
    if (checkCode_)
        codeCheck_.Start(*builder_);
    const bool built = builder_->Build();
    if (checkCode_)
        codeCheck_.Finish(warnings_);
    return built || Fail(builder_->FailureReason(), 0);
}

bool CKBItemsConvertor::CheckProject()
{
    if (!builder_)
        return Fail(std::string(kNoDocument), 0);
    if (checkCode_) {
        codeCheck_.Start(*builder_);
        codeCheck_.Finish(warnings_);
    }
    return builder_->HasSafeNames() || Fail(builder_->FailureReason(), 0);
}

void CKBItemsConvertor::ReadGlobalCode(const CXmlNode& node)
{
    const CKBElementValues values(node, std::string(kGlobalCode));
    const CXmlNode first = values.FirstChild();
    auto globalCode = std::make_unique<CGlobalCode>(first.Text());
    // Split now rather than when building, so that the classes are checked while their lines are
    // known; the builder's own split then finds nothing left to do.
    globalCode->Split();
    CheckClassNames(*globalCode, first.Line());
    codeCheck_.SetGlobalCodeLine(first.Line());
    warnings_.UnreadAfterFirst(values);
    warnings_.GlobalCode(*globalCode, first.Line());
    builder_->SetGlobalCode(std::move(globalCode));
}

void CKBItemsConvertor::CheckClassNames(const CGlobalCode& globalCode, long firstLine) const
{
    std::vector<std::string> names;
    std::vector<long> lines;
    if (!globalCode.GetClassNames(names) || !globalCode.GetClassLines(lines))
        return;
    // Each class becomes a file named after it, which one of the same name (ignoring case, as
    // Windows and VB compare) would replace.
    // The generated files and the project's own name take their names first; VB loads no project
    // in which two of its parts share a name.
    const auto ruleLine = [&](size_t i) { return firstLine + lines[i] - 1; };
    const size_t service = names.size(), globals = service + 1, routines = service + 2, project = service + 3;
    std::map<std::string, size_t> seen{{FoldCase(kServiceClass), service},
                                       {FoldCase(kGlobalCode), globals},
                                       {FoldCase(kRoutineModule), routines}};
    seen.emplace(FoldCase(moduleName_), project);
    for (size_t i = 0; i < names.size(); ++i) {
        const auto [earlier, added] = seen.emplace(FoldCase(names[i]), i);
        if (added)
            continue;
        std::string taken;
        if (earlier->second == service)
            taken = MessageText(kServiceClassTaken, {{"class", names[i]}});
        else if (earlier->second == globals || earlier->second == routines)
            taken = MessageText(kModuleTaken, {{"class", names[i]}, {"module", earlier->second == globals ? kGlobalCode : kRoutineModule}});
        else if (earlier->second == project)
            taken = MessageText(kProjectTaken, {{"class", names[i]}});
        if (!taken.empty())
            throw CKBReaderError(CKBReaderError::kUnusable, taken, ruleLine(i));
        throw CKBReaderError(CKBReaderError::kUnusable,
                             MessageText(kClassTwice, {{"class", names[i]},
                                                       {"first", std::to_string(ruleLine(earlier->second))},
                                                       {"second", std::to_string(ruleLine(i))}}),
                             ruleLine(i));
    }
}

bool CKBItemsConvertor::ParseClassblockNode(const CXmlNode& node)
{
    std::string className;
    if (!node.GetAttribute("name", className))
        return Fail(std::string(kNoClassblockName), node.Line());
    // The class name is the first class of every item inside, and goes into VB strings with it.
    const std::string description = MessageText(kNamedClassblock, {{"class", className}});
    warnings_.QuotedValue(className, "name", description, node.Line());
    for (const CXmlNode& child : node.Children()) {
        const std::string name = child.Name();
        bool read = true;
        if (name == kMethod)
            read = LoggedStep(&CLog::LogParseMethod, [&] { return ParseMethodNode(child, className); });
        else if (name == kEvent)
            read = LoggedStep(&CLog::LogParseEvent, [&] { return ParseEventNode(child, className); });
        else if (child.IsElement())
            warnings_.UnknownElement(child, description, {kMethod, kEvent});
        if (!read)
            return false;
    }
    return true;
}

bool CKBItemsConvertor::ParseDemonNode(const CXmlNode& node)
{
    CKBElementValues values(node, std::string(kDemon));
    std::string name = values.Name();
    const bool casefixed = values.Flag("casefixed");
    warnings_.QuotedValue(name, "name", values);
    std::vector<std::string> Classlist;
    std::string PatternCode;
    std::string ActionCode;
    long patternLine = 0, actionLine = 0;
    long patternTextLine = 0, actionTextLine = 0;
    for (const CXmlNode& child : node.Children()) {
        const std::string childName = child.Name();
        if (childName == kClasslist)
            CollectChildAttributes(child, Classlist, "name");
        else if (childName == kPatternCode || childName == kActionCode) {
            const CKBElementValues part(child, childName, values);
            const CXmlNode first = part.FirstChild();
            std::string text = first.Text();
            warnings_.UnreadAfterFirst(part);
            (childName == kPatternCode ? patternTextLine : actionTextLine) = first.Line();
            long& line = childName == kPatternCode ? patternLine : actionLine;
            if (line != 0)
                warnings_.ReplacedElement(childName, line, child.Line());
            line = child.Line();
            (childName == kPatternCode ? PatternCode : ActionCode) = std::move(text);
        } else if (child.IsElement()) {
            warnings_.UnknownElement(child, values.Description(),
                                     {kClasslist, kPatternCode, kActionCode});
        }
    }
    // The Demon's generated names are made from its first class.
    if (Classlist.empty())
        values.Raise(kNoClass);
    auto demon = std::make_unique<CKBDemon>(std::move(name), std::move(Classlist), false, casefixed,
                                            std::move(PatternCode), std::move(ActionCode));
    return HandOver(std::move(demon), values, {patternTextLine, actionTextLine},
                    &CVBProjectBuilder::AddDemon);
}

bool CKBItemsConvertor::ParseEventNode(const CXmlNode& node, const std::string& className)
{
    CKBElementValues values(node, std::string(kEvent), className);
    std::string name = values.Name();
    std::vector<std::string> Classlist{className};
    std::string code;
    long codeLine = 0;
    ReadCodeAndList(values, kClasslist, "name", Classlist, code, codeLine);
    auto event =
        std::make_unique<CKBEvent>(std::move(name), std::move(Classlist), false, std::move(code));
    return HandOver(std::move(event), values, {codeLine}, &CVBProjectBuilder::AddEvent);
}

bool CKBItemsConvertor::ParseFilterNode(const CXmlNode& node)
{
    CKBElementValues values(node, std::string(kFilter));
    std::string name = values.Name();
    std::string displayname = values.Attribute("displayname");
    CheckQuotedNames(values, name, displayname);
    const std::string extratext;
    std::vector<std::string> Classlist;
    std::string code;
    long codeLine = 0;
    ReadCodeAndList(values, kClasslist, "name", Classlist, code, codeLine);
    auto filter = std::make_unique<CKBFilter>(std::move(name), std::move(displayname), extratext,
                                              std::move(code), std::move(Classlist));
    return HandOver(std::move(filter), values, {codeLine}, &CVBProjectBuilder::AddFilter);
}

bool CKBItemsConvertor::ParseMethodNode(const CXmlNode& node, const std::string& className)
{
    CKBElementValues values(node, std::string(kMethod), className);
    std::string name = values.Name();
    std::string displayname = values.Attribute("displayname");
    const bool interactive = values.Flag("interactive");
    const bool secure = values.Flag("secure");
    const bool casefixed = values.Flag("casefixed");
    CheckQuotedNames(values, name, displayname);
    const std::string extratext;
    std::vector<std::string> Classlist{className};
    std::string code;
    long codeLine = 0;
    ReadCodeAndList(values, kClasslist, "name", Classlist, code, codeLine);
    auto method = std::make_unique<CKBMethod>(std::move(name), std::move(displayname), extratext,
                                              std::move(code), interactive, secure, casefixed,
                                              std::move(Classlist));
    return HandOver(std::move(method), values, {codeLine}, &CVBProjectBuilder::AddMethod);
}

bool CKBItemsConvertor::ParseRuleNode(const CXmlNode& node)
{
    CKBElementValues values(node, std::string(kRule));
    std::string name = values.Name();
    std::string displayname = values.Attribute("displayname");
    const bool interactive = values.Flag("interactive");
    const bool secure = values.Flag("secure");
    const bool casefixed = values.Flag("casefixed");
    CheckQuotedNames(values, name, displayname);
    const std::string extratext;
    const CXmlNode first = values.FirstChild();
    std::string code = first.Text();
    warnings_.UnreadAfterFirst(values);
    auto rule = std::make_unique<CKBRule>(std::move(name), std::move(displayname), extratext,
                                          std::move(code), interactive, secure, casefixed);
    return HandOver(std::move(rule), values, {first.Line()}, &CVBProjectBuilder::AddRule);
}

bool CKBItemsConvertor::ParseSortNode(const CXmlNode& node)
{
    CKBElementValues values(node, std::string(kSort));
    std::string name = values.Name();
    std::string displayname = values.Attribute("displayname");
    CheckQuotedNames(values, name, displayname);
    const std::string extratext;
    std::vector<std::string> KeyList;
    std::string code;
    long codeLine = 0;
    ReadCodeAndList(values, kKeyList, "comparison_op", KeyList, code, codeLine);
    auto sort = std::make_unique<CKBSort>(std::move(name), std::move(displayname), extratext,
                                          std::move(code), std::move(KeyList));
    return HandOver(std::move(sort), values, {codeLine}, &CVBProjectBuilder::AddSort);
}

bool CKBItemsConvertor::HandOver(std::unique_ptr<CKBItem> item, const CKBElementValues& values,
                                 std::array<long, 2> partLines, AddItem add)
{
    warnings_.ItemCode(*item, values);
    item->sourceLine = values.Line();
    item->partLines = partLines;
    (builder_.get()->*add)(std::move(item));
    return true;
}

void CKBItemsConvertor::ReadCodeAndList(const CKBElementValues& values, std::string_view listName,
                                        std::string_view attributeName,
                                        std::vector<std::string>& list, std::string& code,
                                        long& codeLine)
{
    std::optional<CXmlNode> codeNode;
    for (const CXmlNode& child : values.Element().Children()) {
        if (child.Name() == listName) {
            CollectChildAttributes(child, list, attributeName);
            continue;
        }
        if (codeNode)
            warnings_.ReplacedCode(*codeNode, child, values.Description());
        codeNode = child;
        code = child.Text();
        codeLine = child.Line();
    }
}

void CKBItemsConvertor::CheckQuotedNames(const CKBElementValues& values, std::string_view name,
                                         std::string_view displayname)
{
    warnings_.QuotedValue(name, "name", values);
    warnings_.QuotedValue(displayname, "displayname", values);
}

bool CKBItemsConvertor::CollectChildAttributes(const CXmlNode& node, std::vector<std::string>& list,
                                               std::string_view attributeName)
{
    const std::string listName = node.Name();
    for (const CXmlNode& entry : node.Children()) {
        if (!entry.IsElement())
            throw CKBReaderError(CKBReaderError::kInvalidPointer,
                                 MessageText(kEntryNotElement,
                                             {{"list", listName}, {"node", entry.KindWord()}, {"attribute", attributeName}}),
                                 entry.Line());
        const CKBElementValues values = CKBElementValues::ListEntry(entry, listName);
        list.push_back(values.Attribute(attributeName));
        // Class names go to the registrar in VB strings; sort keys stand bare.
        if (listName == kClasslist)
            warnings_.QuotedValue(list.back(), attributeName, values);
    }
    return true;
}

template <typename Read>
bool CKBItemsConvertor::LoggedStep(void (CLog::*logStep)(bool), Read&& read)
{
    bool result = false;
    try {
        result = read();
    } catch (const CKBReaderError& error) {
        (log_->*logStep)(false);
        Remember(error);
        throw;
    }
    (log_->*logStep)(result);
    return result;
}

bool CKBItemsConvertor::Fail(std::string reason, long line)
{
    failureReason_ = std::move(reason);
    failureLine_ = line;
    return false;
}

void CKBItemsConvertor::Remember(const CKBReaderError& error)
{
    Fail(error.what(), error.Line());
}
