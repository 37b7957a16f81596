#include "kbitems/VBUtility.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "common/Placeholder.h"

namespace {

constexpr std::string_view kArrayDeclaration = "  Dim ITEM_00001(ITEM_00002) As Variant\n";

// The surroundings in which a routine's name is renamed, in the order of renaming: the
// declaration and calls after a blank, a result assignment at a line start, an indented or Set
// assignment and other blank-delimited uses.
struct NameSurrounding {
    std::string_view before;
    std::string_view after;
};
constexpr NameSurrounding kRoutineNameSurroundings[] = {
    {" ", "("}, {"\n", " "}, {"\n", "="}, {" ", " "}, {" ", "="},
};
// The one surrounding whose closing blank can open the next use: " Calc Calc " holds one such use
// for the renaming, which goes on after the first.
constexpr size_t kBetweenBlanks = 3;

// The surrounding in which the name that stands at pos in code is used, as an index into
// kRoutineNameSurroundings; std::size(kRoutineNameSurroundings) when it stands in none.
size_t SurroundingAt(const std::string& code, size_t pos, size_t nameLength)
{
    if (pos == 0 || pos + nameLength >= code.size())
        return std::size(kRoutineNameSurroundings);
    const char before = code[pos - 1];
    const char after = code[pos + nameLength];
    size_t i = 0;
    for (const NameSurrounding& s : kRoutineNameSurroundings) {
        if (s.before[0] == before && s.after[0] == after)
            break;
        ++i;
    }
    return i;
}

// Renaming one surrounding after the other, over the whole code each time, gives what renaming
// every use in one pass gives when neither name holds a blank or a line break (no use can then
// overlap another but by a blank they share, which stays) and the new name is the old one with
// more that does not begin as a surrounding ends (so no renamed use reads as a use again). The
// callers' new names, the old one with "_" and a class, are such.
bool RenamesInOnePass(const std::string& oldName, const std::string& newName)
{
    const auto hasBreak = [](const std::string& name) {
        return std::any_of(name.begin(), name.end(), [](char c) { return c == ' ' || c == '\n'; });
    };
    if (oldName.empty() || hasBreak(oldName) || hasBreak(newName) ||
        newName.size() <= oldName.size() || !newName.starts_with(oldName))
        return false;
    const char next = newName[oldName.size()];
    return next != '(' && next != '=';
}

// One surrounding after the other, each over the whole code as the earlier ones left it.
void RenameSurroundingBySurrounding(std::string& code, const std::string& oldName,
                                    const std::string& newName)
{
    for (const NameSurrounding& s : kRoutineNameSurroundings) {
        const std::string before(s.before), after(s.after);
        FillPlaceholder(code, before + oldName + after, before + newName + after);
    }
}

// Commas strictly between the first "(" and the first ")" of the code, wherever those stand: none
// without a ")" or with the "(" behind it; those before the ")" without a "(".
int CountFirstListCommas(const std::string& code)
{
    const size_t close = code.find(')');
    if (close == std::string::npos)
        return 0;
    const size_t open = code.find('(');
    const size_t start = open == std::string::npos ? 0 : open + 1;
    if (start > close)
        return 0;
    return static_cast<int>(std::count(code.begin() + static_cast<long>(start), code.begin() + static_cast<long>(close), ','));
}

}  // namespace

// The declared upper bound is the entry count, so the VB array keeps one empty slot at its end.
void CVBUtility::MakeArrayBlock(const std::string& arrayName, std::string_view elementTemplate,
                                const std::vector<std::string>& list, CGrowingText& target)
{
    target += kArrayDeclaration;
    FillPlaceholder(target, "ITEM_00002", std::to_string(list.size()));
    FillPlaceholder(target, "ITEM_00001", arrayName);
    for (size_t i = 0; i < list.size(); ++i) {
        target += elementTemplate;
        FillPlaceholder(target, "ITEM_00001", arrayName);
        FillPlaceholder(target, "ITEM_00002", std::to_string(i));
        FillPlaceholder(target, "ITEM_00003", list[i]);
    }
}

void CVBUtility::MakeArrayBlock(const std::string& arrayName, std::string_view elementTemplate,
                                const std::vector<std::string>& list, std::string& target)
{
    CGrowingText text(std::move(target));
    MakeArrayBlock(arrayName, elementTemplate, list, text);
    target = text.Release();
}

// The call templates already name the leading parameters, so every entry but a skip count of -1's
// first one starts with a comma.
void CVBUtility::MakeArgumentList(const std::string& code, std::string& target, int skipCount,
                                  std::string_view argumentTemplate)
{
    const int count = CountFirstListCommas(code) - skipCount;
    for (int i = 0; i < count; ++i) {
        if (i != 0 || skipCount != -1)
            target += ",";
        target += argumentTemplate;
        FillPlaceholder(target, "ITEM_00001", std::to_string(i));
    }
}

// Only plain-text surroundings are recognised; a name after a tab or before a line break stays.
// Every new name starts with the old one and "_", so a second call finds nothing left to rename.
void CVBUtility::RenameRoutine(std::string& code, const std::string& oldName,
                               const std::string& newName)
{
    if (!RenamesInOnePass(oldName, newName)) {
        RenameSurroundingBySurrounding(code, oldName, newName);
        return;
    }
    std::string renamed;
    size_t copied = 0;
    // Where the closing blank of the last use between blanks stood: it opens no other such use.
    size_t usedBlank = std::string::npos;
    for (size_t pos = code.find(oldName); pos != std::string::npos; pos = code.find(oldName, pos + 1)) {
        const size_t surrounding = SurroundingAt(code, pos, oldName.size());
        if (surrounding == std::size(kRoutineNameSurroundings))
            continue;
        if (surrounding == kBetweenBlanks) {
            if (pos - 1 == usedBlank)
                continue;
            usedBlank = pos + oldName.size();
        }
        renamed.append(code, copied, pos - copied);
        renamed += newName;
        copied = pos + oldName.size();
    }
    if (copied == 0)
        return;
    renamed.append(code, copied, std::string::npos);
    code.swap(renamed);
}

bool CVBUtility::FindsRoutine(const std::string& code, const std::string& name)
{
    for (size_t pos = code.find(name); pos != std::string::npos; pos = code.find(name, pos + 1)) {
        if (SurroundingAt(code, pos, name.size()) != std::size(kRoutineNameSurroundings))
            return true;
    }
    return false;
}

bool CVBUtility::IsVBName(std::string_view name)
{
    auto isLetter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
               static_cast<unsigned char>(c) >= 0x80;
    };
    if (name.empty() || !isLetter(name.front()))
        return false;
    for (char c : name.substr(1)) {
        if (!isLetter(c) && !(c >= '0' && c <= '9') && c != '_')
            return false;
    }
    return true;
}
