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

constexpr std::string_view kOutsideClassblock = "<{element}> outside a Classblock is not read";
constexpr std::string_view kUnknownElement = "unknown element <{element}> is not read";
constexpr std::string_view kUnknownElementIn = "unknown element <{element}> in {container} is not read";
constexpr std::string_view kCaseHint = "{warning} (names are case-sensitive: <{known}>)";
constexpr std::string_view kUnreadAfterFirst =
    "{node} is not read: {element} takes only its first child node";
constexpr std::string_view kReplacedCode =
    "{node} is not read: {element} takes its code from its last child node, {laterNode} on line {line}";
constexpr std::string_view kReplacedElement =
    "element <{element}> is not read: a later one on line {line} replaces it";
constexpr std::string_view kQuotedValue =
    "the {attribute} of {element} holds {what}; the VB string it goes into will not compile";
constexpr std::string_view kDoubleQuote = "a double quote";
constexpr std::string_view kLineBreak = "a line break";
constexpr std::string_view kItemFault = "{element} {fault}";
constexpr std::string_view kNotVBName =
    "class name '{class}' in the global code is not a VB name (a letter, then letters, digits and '_')";
constexpr std::string_view kUnclosedClass =
    "class block in the global code has no 'End Class' line; it and the code after it are not written";
constexpr std::string_view kUnreadLastLine =
    "the global code's last line '{text}' does not end with a line break and is not written";

constexpr std::string_view kVBCompileError = "VB6 compile error: {message}";
constexpr std::string_view kNotProjectName =
    "module name '{module}' is not a name VB6 takes for a project (a letter, then letters, "
    "digits and '_', at most 255, and no keyword)";

constexpr std::string_view kElementWord = "element <{element}>";

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
        return MessageText(kElementWord, {{"element", node.Name()}});
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
    Add(element.Line(), MessageText(kOutsideClassblock, {{"element", element.Name()}}));
}

void CKBWarnings::UnknownElement(const CXmlNode& element, std::string_view container,
                                 std::initializer_list<std::string_view> knownNames)
{
    const std::string name = element.Name();
    std::string text = container.empty()
                           ? MessageText(kUnknownElement, {{"element", name}})
                           : MessageText(kUnknownElementIn, {{"element", name}, {"container", container}});
    // A misspelt letter case is the likeliest slip: name the element meant.
    for (std::string_view known : knownNames) {
        if (EqualIgnoringCase(name, known))
            text = MessageText(kCaseHint, {{"warning", text}, {"known", known}});
    }
    Add(element.Line(), std::move(text));
}

void CKBWarnings::UnreadAfterFirst(const CKBElementValues& element)
{
    bool first = true;
    for (const CXmlNode& child : element.Element().Children()) {
        if (!std::exchange(first, false) && CarriesText(child))
            Add(child.Line(), MessageText(kUnreadAfterFirst,
                                            {{"node", NodeWord(child)}, {"element", element.Description()}}));
    }
}

void CKBWarnings::ReplacedCode(const CXmlNode& replaced, const CXmlNode& replacing,
                               std::string_view description)
{
    if (!CarriesText(replaced))
        return;
    Add(replaced.Line(), MessageText(kReplacedCode, {{"node", NodeWord(replaced)},
                                                 {"element", description},
                                                 {"laterNode", NodeWord(replacing)},
                                                 {"line", std::to_string(replacing.Line())}}));
}

void CKBWarnings::ReplacedElement(std::string_view name, long line, long laterLine)
{
    Add(line, MessageText(kReplacedElement, {{"element", name}, {"line", std::to_string(laterLine)}}));
}

void CKBWarnings::QuotedValue(std::string_view value, std::string_view attributeName,
                              std::string_view description, long line)
{
    if (std::find(value.begin(), value.end(), '"') != value.end())
        Add(line, MessageText(kQuotedValue,
                              {{"attribute", attributeName}, {"element", description}, {"what", kDoubleQuote}}));
    if (std::any_of(value.begin(), value.end(), IsLineBreak))
        Add(line, MessageText(kQuotedValue,
                              {{"attribute", attributeName}, {"element", description}, {"what", kLineBreak}}));
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
        Add(element.Line(), MessageText(kItemFault, {{"element", element.Description()}, {"fault", fault}}));
}

void CKBWarnings::GlobalCode(const CGlobalCode& globalCode, long firstLine)
{
    // Line n of the text stands n - 1 lines below the line on which the text starts.
    std::vector<std::string> names;
    std::vector<long> lines;
    if (globalCode.GetClassNames(names) && globalCode.GetClassLines(lines)) {
        for (size_t i = 0; i < names.size(); ++i) {
            if (!CVBUtility::IsVBName(names[i]))
                Add(firstLine + lines[i] - 1, MessageText(kNotVBName, {{"class", names[i]}}));
        }
    }
    if (globalCode.UnclosedClassLine() != 0)
        Add(firstLine + globalCode.UnclosedClassLine() - 1, std::string(kUnclosedClass));
    std::string lastLine;
    long lastLineNumber = 0;
    if (globalCode.GetUnreadLastLine(lastLine, lastLineNumber))
        Add(firstLine + lastLineNumber - 1, MessageText(kUnreadLastLine, {{"text", lastLine}}));
}

void CKBWarnings::VBCompileError(const CKBWarning& finding)
{
    warnings_.push_back({finding.line, MessageText(kVBCompileError, {{"message", finding.text}}), finding.column,
                         finding.length});
}

void CKBWarnings::ModuleName(std::string_view name, long line)
{
    // A name that no folder may take fails the conversion, which says so itself.
    if (!IsVBIdentifier(name) && CSafeName::Problem(name).empty())
        Add(line, MessageText(kNotProjectName, {{"module", name}}));
}
