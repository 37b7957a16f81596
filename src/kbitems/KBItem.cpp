#include "kbitems/KBItem.h"

#include <utility>

#include "common/FoldCase.h"
#include "common/MessageText.h"
#include "kbitems/VBUtility.h"
#include "log/Log.h"

namespace {

constexpr std::string_view kNoRoutine =
    "defines no routine '{routine}' in its {part}; the dispatch calls '{calledAs}'";
constexpr std::string_view kNoFinalLineBreak = "ends its {part} without a line break; "
                                               "the routine written after it would start on its last line";

bool IsBlank(char c)
{
    return c == ' ' || c == '\f';
}

// True when the first character after the name, past spaces and form feeds, is "=".
bool IsAssignedAt(const std::string& code, size_t pos, size_t nameLength)
{
    size_t i = pos + nameLength;
    while (i < code.size() && IsBlank(code[i]))
        ++i;
    return i < code.size() && code[i] == '=';
}

// The blank-delimited word that ends before pos. Position 0 is never looked at.
std::string WordBefore(const std::string& code, size_t pos)
{
    size_t end = pos;
    while (end > 1 && IsBlank(code[end - 1]))
        --end;
    size_t start = end;
    while (start > 1 && !IsBlank(code[start - 1]))
        --start;
    return code.substr(start, end - start);
}

}  // namespace

CKBItem::CKBItem() : log(CLog::Instance()) {}

bool CKBItem::IsSameItem(const CKBItem&) const
{
    return false;
}

std::string CKBItem::ReplacementKey() const
{
    return {};
}

std::string CKBItem::ArrayName() const
{
    return {};
}

void CKBItem::GenerateRegisterCode(int itemId, std::string& registerText)
{
    CGrowingText text(std::move(registerText));
    GenerateRegisterCode(itemId, text);
    registerText = text.Release();
}

void CKBItem::GenerateComEntryCode(std::string& handlerText, std::string_view branchMarker,
                                   int itemId)
{
    CGrowingText text(std::move(handlerText));
    GenerateComEntryCode(text, branchMarker, itemId);
    handlerText = text.Release();
}

CKBItem::ResultStyle CKBItem::FindResultStyle(const std::string& routineName,
                                              const std::string& code)
{
    const size_t open = code.find('(');
    const size_t searchFrom = open == std::string::npos ? 0 : open + 1;
    // No check of word boundaries: an assignment to any name containing routineName counts. Any
    // letter case: the renaming finds the routine so, and its result assignments must be found alike.
    size_t pos = FindIgnoringCase(code, routineName, searchFrom);
    while (pos != std::string::npos && pos != 0) {
        if (IsAssignedAt(code, pos, routineName.size()))
            return EqualIgnoringCase(WordBefore(code, pos), "set") ? ResultStyle::Object
                                                                     : ResultStyle::Value;
        pos = FindIgnoringCase(code, routineName, pos + 1);
    }
    return ResultStyle::None;
}

bool CKBItem::AppendBranch(CGrowingText& text, std::string_view branchMarker,
                           std::string_view declaration, std::string_view body,
                           std::string_view closing)
{
    if (branchMarker == kFirstBranch) {
        text += declaration;
        text += kProcedureHeadLines;
        text += kFirstBranch;
        text += body;
        return true;
    }
    if (branchMarker == kFurtherBranch) {
        text += kFurtherBranch;
        text += body;
        return true;
    }
    if (branchMarker == kEndBranch) {
        text += kEndBranch;
        text += closing;
    }
    return false;
}

std::string_view CKBItem::TruthWord(bool flag)
{
    return flag ? "true" : "false";
}

std::string CKBItem::FirstClass(const std::vector<std::string>& classlist)
{
    return classlist.empty() ? std::string() : classlist.front();
}

void CKBItem::FindRoutineFaults(std::string_view part, const std::string& code,
                                const std::string& routineName, const std::string& calledAs,
                                std::vector<std::string>& faults)
{
    if (!CVBUtility::FindsRoutine(code, routineName))
        faults.push_back(MessageText(kNoRoutine, {{"routine", routineName}, {"part", part}, {"calledAs", calledAs}}));
    if (!code.empty() && code.back() != '\n')
        faults.push_back(MessageText(kNoFinalLineBreak, {{"part", part}}));
}
