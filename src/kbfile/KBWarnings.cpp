#include "kbfile/KBWarnings.h"

#include <algorithm>
#include <utility>

#include "common/FoldCase.h"
#include "common/MessageText.h"
#include "kbitems/KBItem.h"
#include "kbitems/VBUtility.h"
#include "vbcheck/VBIdentifier.h"
#include "vbproject/GlobalCode.h"
#include "vbproject/SafeName.h"

namespace {

constexpr std::string_view kOutsideClassblock = "<ITEM_00001> outside a Classblock is not read";
constexpr std::string_view kUnknownElement = "unknown element <ITEM_00001> is not read";
constexpr std::string_view kUnknownElementIn = "unknown element <ITEM_00001> in ITEM_00002 is not read";
constexpr std::string_view kCaseHint = "ITEM_00001 (names are case-sensitive: <ITEM_00002>)";
constexpr std::string_view kUnreadAfterFirst =
    "ITEM_00001 is not read: ITEM_00002 takes only its first child node";
constexpr std::string_view kReplacedCode =
    "ITEM_00001 is not read: ITEM_00002 takes its code from its last child node, ITEM_00003 on line ITEM_00004";
constexpr std::string_view kReplacedElement =
    "element <ITEM_00001> is not read: a later one on line ITEM_00002 replaces it";
constexpr std::string_view kQuotedValue =
    "the ITEM_00001 of ITEM_00002 holds ITEM_00003; the VB string it goes into will not compile";
constexpr std::string_view kDoubleQuote = "a double quote";
constexpr std::string_view kLineBreak = "a line break";
constexpr std::string_view kItemFault = "ITEM_00001 ITEM_00002";
constexpr std::string_view kNotVBName =
    "class name 'ITEM_00001' in the global code is not a VB name (a letter, then letters, digits and '_')";
constexpr std::string_view kUnclosedClass =
    "class block in the global code has no 'End Class' line; it and the code after it are not written";
constexpr std::string_view kUnreadLastLine =
    "the global code's last line 'ITEM_00001' does not end with a line break and is not written";

constexpr std::string_view kVBCompileError = "VB6 compile error: ITEM_00001";
constexpr std::string_view kNotProjectName =
    "module name 'ITEM_00001' is not a name VB6 takes for a project (a letter, then letters, "
    "digits and '_', at most 255, and no keyword)";

constexpr std::string_view kElementWord = "element <ITEM_00001>";

// Comments and processing instructions are notes beside the code: passing them over loses nothing.
bool CarriesText(const CXmlNode& node)
{
    const std::string name = node.Name();
    return name != "#comment" && name != "#processing-instruction";
}

// "element <Classlist>", "a CDATA section", "text".
std::string NodeWord(const CXmlNode& node)
{
    if (node.IsElement())
        return MessageText(kElementWord, {node.Name()});
    return std::string(node.KindWord());
}

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

}  // namespace

void CKBWarnings::Add(long line, std::string text)
{
    warnings_.push_back({line, std::move(text)});
}

std::vector<CKBWarning> CKBWarnings::InLineOrder() const
{
    std::vector<CKBWarning> sorted = warnings_;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const CKBWarning& a, const CKBWarning& b) { return a.line < b.line; });
    return sorted;
}

void CKBWarnings::OutsideClassblock(const CXmlNode& element)
{
    Add(element.Line(), MessageText(kOutsideClassblock, {element.Name()}));
}

void CKBWarnings::UnknownElement(const CXmlNode& element, std::string_view container,
                                 std::initializer_list<std::string_view> knownNames)
{
    const std::string name = element.Name();
    std::string text = container.empty() ? MessageText(kUnknownElement, {name})
                                         : MessageText(kUnknownElementIn, {name, container});
    // A misspelt letter case is the likeliest slip: name the element meant.
    for (std::string_view known : knownNames) {
        if (EqualIgnoringCase(name, known))
            text = MessageText(kCaseHint, {text, known});
    }
    Add(element.Line(), std::move(text));
}

void CKBWarnings::UnreadAfterFirst(const CKBElementValues& element)
{
    bool first = true;
    for (const CXmlNode& child : element.Element().Children()) {
        if (!std::exchange(first, false) && CarriesText(child))
            Add(child.Line(), MessageText(kUnreadAfterFirst, {NodeWord(child), element.Description()}));
    }
}

void CKBWarnings::ReplacedCode(const CXmlNode& replaced, const CXmlNode& replacing,
                               std::string_view description)
{
    if (!CarriesText(replaced))
        return;
    Add(replaced.Line(), MessageText(kReplacedCode, {NodeWord(replaced), description, NodeWord(replacing),
                                                    std::to_string(replacing.Line())}));
}

void CKBWarnings::ReplacedElement(std::string_view name, long line, long laterLine)
{
    Add(line, MessageText(kReplacedElement, {name, std::to_string(laterLine)}));
}

void CKBWarnings::QuotedValue(std::string_view value, std::string_view attributeName,
                              std::string_view description, long line)
{
    if (std::find(value.begin(), value.end(), '"') != value.end())
        Add(line, MessageText(kQuotedValue, {attributeName, description, kDoubleQuote}));
    if (std::any_of(value.begin(), value.end(), IsLineBreak))
        Add(line, MessageText(kQuotedValue, {attributeName, description, kLineBreak}));
}

void CKBWarnings::QuotedValue(std::string_view value, std::string_view attributeName,
                              const CKBElementValues& element)
{
    // Looked at character by character: the values are short, and a search for each of the three
    // characters would cost more.
    if (std::any_of(value.begin(), value.end(), [](char c) { return c == '"' || IsLineBreak(c); }))
        QuotedValue(value, attributeName, element.Description(), element.Line());
}

void CKBWarnings::ItemCode(const CKBItem& item, const CKBElementValues& element)
{
    std::vector<std::string> faults;
    item.FindCodeFaults(faults);
    for (const std::string& fault : faults)
        Add(element.Line(), MessageText(kItemFault, {element.Description(), fault}));
}

void CKBWarnings::GlobalCode(const CGlobalCode& globalCode, long firstLine)
{
    // Line n of the text stands n - 1 lines below the line on which the text starts.
    std::vector<std::string> names;
    std::vector<long> lines;
    if (globalCode.GetClassNames(names) && globalCode.GetClassLines(lines)) {
        for (size_t i = 0; i < names.size(); ++i) {
            if (!CVBUtility::IsVBName(names[i]))
                Add(firstLine + lines[i] - 1, MessageText(kNotVBName, {names[i]}));
        }
    }
    if (globalCode.UnclosedClassLine() != 0)
        Add(firstLine + globalCode.UnclosedClassLine() - 1, std::string(kUnclosedClass));
    std::string lastLine;
    long lastLineNumber = 0;
    if (globalCode.GetUnreadLastLine(lastLine, lastLineNumber))
        Add(firstLine + lastLineNumber - 1, MessageText(kUnreadLastLine, {lastLine}));
}

void CKBWarnings::VBCompileError(long line, std::string_view message)
{
    Add(line, MessageText(kVBCompileError, {message}));
}

void CKBWarnings::ModuleName(std::string_view name, long line)
{
    // A name that no folder may take fails the conversion, which says so itself.
    if (!IsVBIdentifier(name) && CSafeName::Problem(name).empty())
        Add(line, MessageText(kNotProjectName, {name}));
}
