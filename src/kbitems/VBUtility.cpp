#include "kbitems/VBUtility.h"

#include <algorithm>
#include <utility>

#include "common/FoldCase.h"
#include "common/Placeholder.h"
#include "common/VBCodeScanner.h"

namespace {

constexpr std::string_view kArrayDeclaration = "  Dim ITEM_00001(ITEM_00002) As Variant\n";

// A use of the routine: a name of the code (never a string or a comment) that VB takes for name,
// and not a member of another object nor a named argument ("Calc:=") of another routine.
bool IsRoutineUse(const CVBCodeScanner& scanner, const CVBCodeScanner::Token& token,
                  std::string_view code, std::string_view name)
{
    if (token.kind != CVBCodeScanner::Kind::Name || token.member ||
        !EqualIgnoringCase(scanner.Text(token), name))
        return false;
    const size_t after = token.start + token.length + (token.bracketed ? 1 : 0);
    return code.substr(after, 2) != ":=";
}

// Calls take with the position and length of each use of name in code, in order, while take
// returns true. Only where name stands as text is the code read name by name, from the start of
// that logical line to the name: most of a routine's code never names it.
template <typename Take>
void ForEachRoutineUse(std::string_view code, std::string_view name, Take take)
{
    if (name.empty())
        return;
    for (size_t at = FindIgnoringCase(code, name, 0); at != std::string_view::npos;) {
        const size_t start = CVBCodeScanner::LogicalLineStart(code, at);
        const size_t end = CVBCodeScanner::LogicalLineEnd(code, at);
        const std::string_view line = code.substr(start, end - start);
        CVBCodeScanner scanner(line);
        // A place of the name between two tokens stands in a comment; inside a token, in a string
        // or a longer name.
        for (CVBCodeScanner::Token token; at < end && scanner.Next(token);) {
            const size_t tokenStart = start + token.start, tokenEnd = tokenStart + token.length;
            if (tokenStart > at)
                at = FindIgnoringCase(code, name, tokenStart);
            if (at >= tokenEnd)
                continue;
            if (at == tokenStart && IsRoutineUse(scanner, token, line, name) && !take(at, token.length))
                return;
            at = FindIgnoringCase(code, name, tokenEnd);
        }
        if (at != std::string_view::npos && at < end)
            at = FindIgnoringCase(code, name, end);
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

// Every use by token, in any letter case, as VB finds the routine. Every new name starts with the
// old one and "_", so a second call finds nothing left to rename.
void CVBUtility::RenameRoutine(std::string& code, const std::string& oldName,
                               const std::string& newName)
{
    std::string renamed;
    size_t copied = 0;
    ForEachRoutineUse(code, oldName, [&](size_t pos, size_t length) {
        renamed.append(code, copied, pos - copied);
        renamed += newName;
        copied = pos + length;
        return true;
    });
    if (copied == 0)
        return;
    renamed.append(code, copied, std::string::npos);
    code.swap(renamed);
}

bool CVBUtility::FindsRoutine(const std::string& code, const std::string& name)
{
    bool found = false;
    ForEachRoutineUse(code, name, [&](size_t, size_t) {
        found = true;
        return false;
    });
    return found;
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
