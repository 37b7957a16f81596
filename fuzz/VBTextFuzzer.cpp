// The VB text routines fed arbitrary text: argument lists, routine renaming, result styles,
// array blocks and placeholder filling.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "common/Placeholder.h"
#include "kbitems/KBItem.h"
#include "kbitems/VBUtility.h"

namespace {

constexpr std::string_view kArgumentTemplate = "Args(ITEM_00001)";
constexpr std::string_view kElementTemplate = "  ITEM_00001(ITEM_00002) = \"ITEM_00003\"\n";

size_t CountOccurrences(std::string_view text, std::string_view token)
{
    size_t count = 0;
    for (size_t pos = text.find(token); pos != std::string_view::npos;
         pos = text.find(token, pos + token.size()))
        ++count;
    return count;
}

void FuzzArgumentList(const std::string& code, int skipCount)
{
    std::string target;
    CVBUtility::MakeArgumentList(code, target, skipCount, kArgumentTemplate);
    // Each entry names its index once; there are never more entries than commas in the code,
    // plus the one a skip count of -1 adds.
    const size_t entries = CountOccurrences(target, "Args(");
    if (entries > CountOccurrences(code, ",") + 1)
        std::abort();
    if (CountOccurrences(target, "ITEM_00001") != 0)
        std::abort();
}

void FuzzRename(std::string code, const std::string& oldName, const std::string& suffix)
{
    const std::string original = code;
    CVBUtility::RenameRoutine(code, oldName, oldName + "_" + suffix);
    if (!oldName.empty() && original.find(oldName) == std::string::npos && code != original)
        std::abort();
}

void FuzzResultStyle(const std::string& routineName, const std::string& code)
{
    const CKBItem::ResultStyle style = CKBItem::FindResultStyle(routineName, code);
    if (style != CKBItem::ResultStyle::None && style != CKBItem::ResultStyle::Object &&
        style != CKBItem::ResultStyle::Value)
        std::abort();
}

// Left to right, without overlap, no rescan: the length follows from the occurrences alone.
void FuzzFill(std::string text, const std::string& token, const std::string& value)
{
    const size_t count = token.empty() ? 0 : CountOccurrences(text, token);
    const size_t expected = text.size() + count * value.size() - count * token.size();
    FillPlaceholder(text, token, value);
    if (text.size() != expected)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int skipCount = input.ConsumeIntegralInRange(-1, 2);
    const std::string name = input.ConsumeRandomLengthString(64);
    const std::string suffix = input.ConsumeRandomLengthString(64);
    const std::string code = input.ConsumeRemainingBytesAsString();

    FuzzArgumentList(code, skipCount);
    FuzzRename(code, name, suffix);
    FuzzResultStyle(name, code);
    FuzzFill(code, name, suffix);
    FuzzFill(code, "ITEM_00001", name);

    std::string block;
    CVBUtility::MakeArrayBlock(name, kElementTemplate, {suffix, code}, block);
    return 0;
}
