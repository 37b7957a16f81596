#include "lsp/LspCodeOutline.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "common/FoldCase.h"

namespace {

constexpr std::string_view kClassStart = "Class ";
constexpr std::string_view kClassEnd = "End Class";
constexpr std::array<std::string_view, 5> kModifiers = {"public", "private", "friend", "global", "static"};
constexpr std::array<std::string_view, 3> kProcedureWords = {"sub", "function", "property"};
constexpr std::array<std::string_view, 3> kPropertyWords = {"get", "let", "set"};
constexpr std::array<std::string_view, 3> kProcedureEnds = {"end sub", "end function", "end property"};

// The next word of line from at on, passing blanks before it; at moves past it.
std::string_view NextWord(std::string_view line, size_t& at)
{
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
        ++at;
    const size_t start = at;
    while (at < line.size() && CLspCodeOutline::IsNameCharacter(line[at]))
        ++at;
    return line.substr(start, at - start);
}

template <size_t N>
bool IsOneOf(std::string_view word, const std::array<std::string_view, N>& words)
{
    const std::string folded = FoldCase(word);
    return std::find(words.begin(), words.end(), folded) != words.end();
}

}  // namespace

CLspCodeOutline::CLspCodeOutline(std::string_view text, size_t base)
{
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        ReadLine(text.substr(at, end - at), base + at);
        at = end + 1;
    }
    for (Declaration& declaration : declarations_) {
        if (declaration.end == 0)
            declaration.end = base + text.size();
    }
}

bool CLspCodeOutline::IsNameCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return std::isalnum(byte) || c == '_' || byte >= 0x80;
}

void CLspCodeOutline::ReadLine(std::string_view line, size_t start)
{
    const size_t blanks = std::min(line.find_first_not_of(" \t\r"), line.size());
    const std::string_view trimmed = line.substr(blanks);
    const size_t lineEnd = start + line.size();
    const std::string folded = FoldCase(trimmed.substr(0, std::min<size_t>(trimmed.size(), 12)));
    if (openProcedure_ >= 0 && std::any_of(kProcedureEnds.begin(), kProcedureEnds.end(),
                                           [&](std::string_view end) { return folded.starts_with(end); })) {
        declarations_[static_cast<size_t>(openProcedure_)].end = lineEnd;
        openProcedure_ = -1;
    } else if (openClass_ >= 0 && trimmed.starts_with(kClassEnd)) {
        declarations_[static_cast<size_t>(openClass_)].end = lineEnd;
        openClass_ = -1;
        openProcedure_ = -1;
    } else if (openProcedure_ < 0 && openClass_ < 0 && trimmed.starts_with(kClassStart)) {
        size_t at = kClassStart.size();
        const std::string_view name = NextWord(trimmed, at);
        const size_t nameStart = start + blanks + at - name.size();
        openClass_ = static_cast<int>(declarations_.size());
        declarations_.push_back({true, "Class", std::string(name), start + blanks, nameStart,
                                 nameStart + name.size(), 0, -1});
    } else if (openProcedure_ < 0) {
        ReadProcedureHeader(trimmed, start + blanks);
    }
}

bool CLspCodeOutline::ReadProcedureHeader(std::string_view line, size_t start)
{
    size_t at = 0;
    std::string_view word = NextWord(line, at);
    while (!word.empty() && IsOneOf(word, kModifiers))
        word = NextWord(line, at);
    if (word.empty() || !IsOneOf(word, kProcedureWords))
        return false;
    std::string keyword(word);
    if (FoldCase(word) == "property") {
        const std::string_view accessor = NextWord(line, at);
        if (!IsOneOf(accessor, kPropertyWords))
            return false;
        keyword += " " + std::string(accessor);
    }
    const std::string_view name = NextWord(line, at);
    if (name.empty())
        return false;
    openProcedure_ = static_cast<int>(declarations_.size());
    const size_t nameStart = start + at - name.size();
    declarations_.push_back({false, keyword, std::string(name), start, nameStart, nameStart + name.size(), 0,
                             openClass_});
    return true;
}
