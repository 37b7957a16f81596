#include "lsp/LspDocument.h"

#include <algorithm>
#include <utility>

#include "lsp/LspColumns.h"

CLspDocument::CLspDocument(std::string text, int version) : text_(std::move(text)), version_(version)
{
    IndexLines();
}

void CLspDocument::SetText(std::string text)
{
    text_ = std::move(text);
    IndexLines();
}

bool CLspDocument::Replace(LspPosition start, LspPosition end, std::string_view replacement)
{
    const size_t from = OffsetOf(start);
    const size_t to = OffsetOf(end);
    if (to < from)
        return false;
    text_.replace(from, to - from, replacement);
    IndexLines();
    return true;
}

void CLspDocument::IndexLines()
{
    lineStarts_.assign(1, 0);
    for (size_t at = text_.find('\n'); at != std::string::npos; at = text_.find('\n', at + 1))
        lineStarts_.push_back(at + 1);
}

std::string_view CLspDocument::Line(int line) const
{
    if (line < 0 || line >= LineCount())
        return {};
    const size_t start = lineStarts_[static_cast<size_t>(line)];
    size_t end = line + 1 < LineCount() ? lineStarts_[static_cast<size_t>(line) + 1] - 1 : text_.size();
    if (end > start && text_[end - 1] == '\r' && end < text_.size())
        --end;
    return std::string_view(text_).substr(start, end - start);
}

size_t CLspDocument::LineStart(int line) const
{
    if (line < 0)
        return 0;
    return line < LineCount() ? lineStarts_[static_cast<size_t>(line)] : text_.size();
}

size_t CLspDocument::OffsetOf(LspPosition position) const
{
    if (position.line >= LineCount())
        return text_.size();
    return LineStart(position.line) + CLspColumns::BytesOfUtf16(Line(position.line), position.character);
}

int CLspDocument::LineOf(size_t offset) const
{
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    return static_cast<int>(after - lineStarts_.begin()) - 1;
}

LspPosition CLspDocument::PositionOf(size_t offset) const
{
    const int line = LineOf(std::min(offset, text_.size()));
    const std::string_view text = Line(line);
    const size_t into = std::min(offset - LineStart(line), text.size());
    return {line, CLspColumns::Utf16Units(text.substr(0, into))};
}
