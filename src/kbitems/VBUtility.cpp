#include "kbitems/VBUtility.h"

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

// Position of c in code, -1 when absent, so that "before the first ')'" can fail for every comma.
long long SignedFind(const std::string& code, char c, size_t from = 0)
{
    const size_t pos = code.find(c, from);
    return pos == std::string::npos ? -1 : static_cast<long long>(pos);
}

// Commas strictly between the first "(" and the first ")" of the code, wherever those stand.
int CountFirstListCommas(const std::string& code)
{
    const long long open = SignedFind(code, '(');
    const long long close = SignedFind(code, ')');
    int commas = 0;
    long long comma = SignedFind(code, ',', static_cast<size_t>(open + 1));
    while (comma != -1 && comma > open && comma < close) {
        ++commas;
        comma = SignedFind(code, ',', static_cast<size_t>(comma + 1));
    }
    return commas;
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
    for (const NameSurrounding& s : kRoutineNameSurroundings) {
        const std::string before(s.before), after(s.after);
        FillPlaceholder(code, before + oldName + after, before + newName + after);
    }
}

bool CVBUtility::FindsRoutine(const std::string& code, const std::string& name)
{
    for (const NameSurrounding& s : kRoutineNameSurroundings) {
        if (code.find(std::string(s.before) + name + std::string(s.after)) != std::string::npos)
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
