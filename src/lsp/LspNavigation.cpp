#include "lsp/LspNavigation.h"

#include <nlohmann/json.hpp>

#include "common/FoldCase.h"
#include "common/MessageText.h"
#include "lsp/LspCodeOutline.h"

namespace {

constexpr std::string_view kHoverHead = "**{kind}** `{name}` · item ID {id}\n\n";
constexpr std::string_view kHoverRoutine = "Routine in `KBRoutine.bas`: `{routine}`\n\n";
constexpr std::string_view kHoverDispatchHead = "Dispatch in `DataServiceImpl.cls`:\n\n```vb\n";
constexpr std::string_view kHoverDispatchLine = "{line}\n";
constexpr std::string_view kHoverDispatchEnd = "```\n";
constexpr std::string_view kHoverUnchecked = "**{kind}** `{name}` (not yet checked)\n";

constexpr std::string_view kItemsAtRoot[] = {"Rule", "Filter", "Sort", "Demon"};
constexpr std::string_view kItemsInClassblock[] = {"Method", "Event"};

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

}  // namespace

CLspNavigation::CLspNavigation(const CLspDocument& document, const CLspRuleMap& map,
                               std::shared_ptr<const CLspCheckWorker::Result> checked)
    : document_(document), map_(map), checked_(std::move(checked))
{
    CollectTargets();
}

bool CLspNavigation::IsItem(int element) const
{
    const CLspRuleMap::Element& item = map_.Elements()[static_cast<size_t>(element)];
    const bool inClassblock = item.parent >= 0 && map_.Elements()[static_cast<size_t>(item.parent)].name == "Classblock";
    const bool atRoot = item.parent == map_.Root();
    for (const std::string_view kind : kItemsAtRoot) {
        if (atRoot && item.name == kind)
            return true;
    }
    for (const std::string_view kind : kItemsInClassblock) {
        if (inClassblock && item.name == kind)
            return true;
    }
    return false;
}

void CLspNavigation::CollectTargets()
{
    const auto& elements = map_.Elements();
    for (size_t i = 0; i < elements.size(); ++i) {
        const int index = static_cast<int>(i);
        if (elements[i].name == "GlobalCode" && elements[i].parent == map_.Root() && !elements[i].texts.empty()) {
            const CLspRuleMap::Span text = elements[i].texts.front();
            const CLspCodeOutline outline(map_.TextOf(text), text.start);
            for (const auto& declaration : outline.Declarations())
                declarations_.push_back({declaration.name, {declaration.nameStart, declaration.nameEnd}, -1});
        } else if (IsItem(index)) {
            CollectItemTargets(index);
        }
    }
}

void CLspNavigation::CollectItemTargets(int element)
{
    const CLspRuleMap::Element& item = map_.Elements()[static_cast<size_t>(element)];
    // A Demon's code is in its PatternCode and ActionCode elements.
    std::vector<CLspRuleMap::Span> texts = item.texts;
    for (const int child : item.children) {
        for (const CLspRuleMap::Span span : map_.Elements()[static_cast<size_t>(child)].texts)
            texts.push_back(span);
    }
    std::vector<Target> declared;
    for (const CLspRuleMap::Span text : texts) {
        const CLspCodeOutline outline(map_.TextOf(text), text.start);
        for (const auto& declaration : outline.Declarations())
            declared.push_back({declaration.name, {declaration.nameStart, declaration.nameEnd}, element});
    }
    declarations_.insert(declarations_.end(), declared.begin(), declared.end());
    const std::string_view name = map_.NameOf(element);
    if (!name.empty())
        items_.push_back({std::string(name), item.nameValue, element});
    const CLspRuleCheck::Item* checked = CheckedItem(element);
    if (!checked)
        return;
    // A routine renamed in the project leads to its declaration as written: the longest name
    // declared that the project's name begins with.
    for (const std::string& routine : checked->routines) {
        Target target{routine, item.nameValue.start == CLspRuleMap::kNone ? item.startTag : item.nameValue, element};
        size_t longest = 0;
        for (const Target& declaration : declared) {
            if (declaration.name.size() > longest && declaration.name.size() <= routine.size() &&
                SameName(std::string_view(routine).substr(0, declaration.name.size()), declaration.name)) {
                longest = declaration.name.size();
                target.at = declaration.at;
            }
        }
        routines_.push_back(target);
    }
}

const CLspRuleCheck::Item* CLspNavigation::CheckedItem(int element) const
{
    if (!checked_)
        return nullptr;
    const CLspRuleMap::Element& item = map_.Elements()[static_cast<size_t>(element)];
    // The reader counts an element's line where its start tag ends.
    const long line = document_.LineOf(item.startTag.end > 0 ? item.startTag.end - 1 : 0) + 1;
    for (const CLspRuleCheck::Item& checkedItem : checked_->items) {
        if (checkedItem.line == line && checkedItem.kind == item.name)
            return &checkedItem;
    }
    return nullptr;
}

std::string_view CLspNavigation::WordAt(size_t offset, CLspRuleMap::Span& span) const
{
    const std::string& text = document_.Text();
    size_t start = std::min(offset, text.size());
    size_t end = start;
    while (start > 0 && CLspCodeOutline::IsNameCharacter(text[start - 1]))
        --start;
    while (end < text.size() && CLspCodeOutline::IsNameCharacter(text[end]))
        ++end;
    span = {start, end};
    return std::string_view(text).substr(start, end - start);
}

const CLspNavigation::Target* CLspNavigation::Find(std::string_view name) const
{
    for (const std::vector<Target>* targets : {&declarations_, &routines_, &items_}) {
        for (const Target& target : *targets) {
            if (SameName(target.name, name))
                return &target;
        }
    }
    return nullptr;
}

nlohmann::json CLspNavigation::Definition(LspPosition position, const std::string& uri) const
{
    CLspRuleMap::Span word;
    const std::string_view name = WordAt(document_.OffsetOf(position), word);
    const Target* target = name.empty() ? nullptr : Find(name);
    if (!target)
        return nullptr;
    return {{"uri", uri}, {"range", Range(target->at)}};
}

nlohmann::json CLspNavigation::Hover(LspPosition position) const
{
    const size_t offset = document_.OffsetOf(position);
    int element = map_.ElementAt(offset);
    CLspRuleMap::Span span{offset, offset};
    bool onTag = element >= 0 && IsItem(element) && offset < map_.Elements()[static_cast<size_t>(element)].startTag.end;
    if (!onTag) {
        // A name in VB code that leads to an item tells of that item.
        const std::string_view name = WordAt(offset, span);
        const Target* target = name.empty() ? nullptr : Find(name);
        if (!target || target->element < 0)
            return nullptr;
        element = target->element;
    } else {
        span = map_.Elements()[static_cast<size_t>(element)].startTag;
    }
    const std::string kind = map_.Elements()[static_cast<size_t>(element)].name;
    const std::string_view name = map_.NameOf(element);
    const CLspRuleCheck::Item* item = CheckedItem(element);
    std::string text;
    if (!item) {
        text = MessageText(kHoverUnchecked, {{"kind", kind}, {"name", name}});
    } else {
        text = MessageText(kHoverHead, {{"kind", kind}, {"name", name}, {"id", std::to_string(item->itemId)}});
        for (const std::string& routine : item->routines)
            text += MessageText(kHoverRoutine, {{"routine", routine}});
        text += kHoverDispatchHead;
        for (const std::string& line : item->dispatch)
            text += MessageText(kHoverDispatchLine, {{"line", line}});
        text += kHoverDispatchEnd;
    }
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}, {"range", Range(span)}};
}

nlohmann::json CLspNavigation::Range(CLspRuleMap::Span span) const
{
    const LspPosition start = document_.PositionOf(span.start);
    const LspPosition end = document_.PositionOf(span.end);
    return {{"start", {{"line", start.line}, {"character", start.character}}},
            {"end", {{"line", end.line}, {"character", end.character}}}};
}
