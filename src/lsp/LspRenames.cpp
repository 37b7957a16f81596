#include "lsp/LspRenames.h"

#include <algorithm>

#include "common/FoldCase.h"
#include "common/Utf8.h"
#include "lsp/LspCodeOutline.h"
#include "lsp/LspColumns.h"

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

// Whether name stands at at in code as a word of its own.
bool WordAt(std::string_view code, size_t at, std::string_view name)
{
    if (name.empty() || at + name.size() > code.size() || !SameName(code.substr(at, name.size()), name))
        return false;
    const bool startsWord = at == 0 || !CLspCodeOutline::IsNameCharacter(code[at - 1]);
    const size_t end = at + name.size();
    return startsWord && (end == code.size() || !CLspCodeOutline::IsNameCharacter(code[end]));
}

}  // namespace

int CLspRenames::ItemAt(size_t offset) const
{
    for (int element = map_.ElementAt(offset); element >= 0;
         element = map_.Elements()[static_cast<size_t>(element)].parent) {
        const std::string& name = map_.Elements()[static_cast<size_t>(element)].name;
        if (name == "Method" || name == "Event" || name == "Rule" || name == "Filter" || name == "Sort" ||
            name == "Demon")
            return element;
    }
    return -1;
}

std::vector<CLspRenames::Rename> CLspRenames::OnLine(int line) const
{
    const int element = ItemAt(document_.LineStart(line) + document_.Line(line).size());
    if (element < 0)
        return {};
    const CLspRuleMap::Element& item = map_.Elements()[static_cast<size_t>(element)];
    // The reader counts an element's line where its start tag ends.
    const long itemLine = document_.LineOf(item.startTag.end > 0 ? item.startTag.end - 1 : 0) + 1;
    const auto checked = std::find_if(items_.begin(), items_.end(), [&](const CLspRuleCheck::Item& candidate) {
        return candidate.line == itemLine && candidate.kind == item.name;
    });
    if (checked == items_.end())
        return {};
    // A Demon's code is in its PatternCode and ActionCode elements.
    std::vector<CLspRuleMap::Span> texts = item.texts;
    for (const int child : item.children) {
        const auto& childTexts = map_.Elements()[static_cast<size_t>(child)].texts;
        texts.insert(texts.end(), childTexts.begin(), childTexts.end());
    }
    std::vector<Rename> renames;
    for (const CLspRuleMap::Span text : texts) {
        const CLspCodeOutline outline(map_.TextOf(text), text.start);
        // The name as written is the routine the item declares whose name the project's begins with.
        for (const std::string& routine : checked->routines) {
            for (const CLspCodeOutline::Declaration& declaration : outline.Declarations()) {
                const size_t length = declaration.name.size();
                if (length < routine.size() && SameName(std::string_view(routine).substr(0, length), declaration.name))
                    renames.push_back({declaration.name, routine});
            }
        }
    }
    return renames;
}

size_t CLspRenames::BytesUpTo(std::string_view code, int column, const std::vector<Rename>& renames)
{
    size_t at = 0;
    int checked = 1;
    while (at < code.size() && checked < column) {
        const auto rename = std::find_if(renames.begin(), renames.end(),
                                         [&](const Rename& r) { return WordAt(code, at, r.asWritten); });
        if (rename == renames.end()) {
            at += CLspColumns::BytesOfCodePoints(code.substr(at), 1);
            ++checked;
            continue;
        }
        // A column inside the name in the project stands for the name as written.
        const int inProject = static_cast<int>(CUtf8::CountCharacters(rename->inProject));
        if (checked + inProject > column)
            return at;
        checked += inProject;
        at += rename->asWritten.size();
    }
    return at;
}
