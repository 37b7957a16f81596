#include "lsp/LspRuleMap.h"

#include <algorithm>

namespace {

constexpr std::string_view kComment = "<!--";
constexpr std::string_view kCommentEnd = "-->";
constexpr std::string_view kCData = "<![CDATA[";
constexpr std::string_view kCDataEnd = "]]>";
constexpr std::string_view kInstruction = "<?";
constexpr std::string_view kInstructionEnd = "?>";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

CLspRuleMap::CLspRuleMap(std::string_view text) : text_(text)
{
    size_t at = 0;
    while (at < text_.size())
        at = text_[at] == '<' ? ReadMarkup(at) : ReadText(at);
    for (const int open : open_)
        elements_[static_cast<size_t>(open)].whole.end = text_.size();
}

size_t CLspRuleMap::Past(size_t at, std::string_view closing) const
{
    const size_t found = text_.find(closing, at);
    return found == std::string_view::npos ? text_.size() : found + closing.size();
}

size_t CLspRuleMap::NameEnd(size_t at) const
{
    while (at < text_.size() && !IsBlank(text_[at]) && text_[at] != '>' && text_[at] != '/' &&
           text_[at] != '=' && text_[at] != '<')
        ++at;
    return at;
}

size_t CLspRuleMap::ReadMarkup(size_t at)
{
    const std::string_view rest = text_.substr(at);
    if (rest.starts_with(kComment))
        return Past(at + kComment.size(), kCommentEnd);
    if (rest.starts_with(kCData)) {
        const size_t start = at + kCData.size();
        const size_t found = text_.find(kCDataEnd, start);
        const size_t end = found == std::string_view::npos ? text_.size() : found;
        AddText({start, end});
        return found == std::string_view::npos ? end : end + kCDataEnd.size();
    }
    if (rest.starts_with(kInstruction))
        return Past(at + kInstruction.size(), kInstructionEnd);
    if (rest.starts_with("<!")) {
        // A document type declaration: its internal subset may hold '>' inside brackets.
        int depth = 0;
        for (size_t i = at + 2; i < text_.size(); ++i) {
            if (text_[i] == '[')
                ++depth;
            else if (text_[i] == ']')
                --depth;
            else if (text_[i] == '>' && depth <= 0)
                return i + 1;
        }
        return text_.size();
    }
    if (rest.starts_with("</"))
        return ReadEndTag(at);
    return ReadStartTag(at);
}

size_t CLspRuleMap::ReadStartTag(size_t at)
{
    const size_t nameEnd = NameEnd(at + 1);
    if (nameEnd == at + 1)
        return ReadText(at);
    Element element;
    element.name = std::string(text_.substr(at + 1, nameEnd - at - 1));
    element.parent = open_.empty() ? -1 : open_.back();
    element.startTag.start = element.whole.start = at;
    const size_t end = ReadAttributes(nameEnd, element);
    element.startTag.end = element.whole.end = end;
    const bool empty = end >= 2 && text_[end - 1] == '>' && text_[end - 2] == '/';
    const int index = static_cast<int>(elements_.size());
    if (element.parent >= 0)
        elements_[static_cast<size_t>(element.parent)].children.push_back(index);
    elements_.push_back(std::move(element));
    if (!empty)
        open_.push_back(index);
    return end;
}

size_t CLspRuleMap::ReadAttributes(size_t at, Element& element)
{
    while (at < text_.size()) {
        while (at < text_.size() && IsBlank(text_[at]))
            ++at;
        if (at >= text_.size() || text_[at] == '<')
            return at;
        if (text_[at] == '>')
            return at + 1;
        if (text_[at] == '/') {
            ++at;
            continue;
        }
        const size_t nameStart = at;
        at = std::max(NameEnd(at), at + 1);
        const std::string_view name = text_.substr(nameStart, at - nameStart);
        while (at < text_.size() && (IsBlank(text_[at]) || text_[at] == '='))
            ++at;
        if (at >= text_.size() || (text_[at] != '"' && text_[at] != '\''))
            continue;
        const size_t close = text_.find(text_[at], at + 1);
        const size_t valueEnd = close == std::string_view::npos ? text_.size() : close;
        if (name == "name")
            element.nameValue = {at + 1, valueEnd};
        at = valueEnd + 1;
    }
    return text_.size();
}

size_t CLspRuleMap::ReadEndTag(size_t at)
{
    const size_t nameEnd = NameEnd(at + 2);
    const std::string_view name = text_.substr(at + 2, nameEnd - at - 2);
    const size_t close = text_.find('>', nameEnd);
    const size_t end = close == std::string_view::npos ? text_.size() : close + 1;
    const auto match = std::find_if(open_.rbegin(), open_.rend(), [&](int open) {
        return elements_[static_cast<size_t>(open)].name == name;
    });
    if (match == open_.rend())
        return end;
    // Elements left open inside the one closed end where its end tag starts.
    const size_t kept = static_cast<size_t>(open_.rend() - match) - 1;
    for (size_t i = kept + 1; i < open_.size(); ++i)
        elements_[static_cast<size_t>(open_[i])].whole.end = at;
    elements_[static_cast<size_t>(open_[kept])].whole.end = end;
    open_.resize(kept);
    return end;
}

size_t CLspRuleMap::ReadText(size_t at)
{
    const size_t next = text_.find('<', at + 1);
    const size_t end = next == std::string_view::npos ? text_.size() : next;
    const std::string_view text = text_.substr(at, end - at);
    if (!std::all_of(text.begin(), text.end(), IsBlank))
        AddText({at, end});
    return end;
}

void CLspRuleMap::AddText(Span span)
{
    if (!open_.empty())
        elements_[static_cast<size_t>(open_.back())].texts.push_back(span);
}

int CLspRuleMap::ElementAt(size_t offset) const
{
    int found = -1;
    // Elements come in document order, each after its parent: the last that holds offset is the
    // innermost.
    for (size_t i = 0; i < elements_.size(); ++i) {
        if (elements_[i].whole.start > offset)
            break;
        if (offset < elements_[i].whole.end)
            found = static_cast<int>(i);
    }
    return found;
}

std::string_view CLspRuleMap::NameOf(int element) const
{
    if (element < 0 || static_cast<size_t>(element) >= elements_.size())
        return {};
    const Span value = elements_[static_cast<size_t>(element)].nameValue;
    return value.start == kNone ? std::string_view() : TextOf(value);
}
