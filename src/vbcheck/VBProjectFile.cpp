#include "vbcheck/VBProjectFile.h"

#include <charconv>

#include "common/FoldCase.h"

namespace {

std::string_view Trimmed(std::string_view text)
{
    const size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

std::string_view Unquoted(std::string_view text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

CVBProjectFile::CVBProjectFile(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = Trimmed(text.substr(pos, end - pos));
        pos = end + 1;
        // The [MS Transaction Server] and other sections after the project's own keys.
        if (!line.empty() && line.front() == '[')
            break;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if (EqualIgnoringCase(key, "CondComp"))
            TakeConstants(Unquoted(value));
        else
            TakeModule(key, value);
    }
}

// Module=Name; path and Class=Name; path, Form=path and UserControl=path.
void CVBProjectFile::TakeModule(std::string_view key, std::string_view value)
{
    if (EqualIgnoringCase(key, "Module") || EqualIgnoringCase(key, "Class")) {
        const size_t semicolon = value.find(';');
        if (semicolon != std::string_view::npos)
            modules_.emplace_back(Trimmed(value.substr(semicolon + 1)));
    } else if (EqualIgnoringCase(key, "Form") || EqualIgnoringCase(key, "UserControl")) {
        modules_.emplace_back(value);
    }
}

// "A = -1 : B = 0": whole numbers; a constant of another form is left out, as the IDE would not
// have saved it.
void CVBProjectFile::TakeConstants(std::string_view value)
{
    size_t pos = 0;
    while (pos <= value.size()) {
        size_t end = value.find(':', pos);
        if (end == std::string_view::npos)
            end = value.size();
        const std::string_view definition = value.substr(pos, end - pos);
        pos = end + 1;
        const size_t equals = definition.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = Trimmed(definition.substr(0, equals));
        const std::string_view number = Trimmed(definition.substr(equals + 1));
        long long parsed = 0;
        const auto [rest, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
        if (!name.empty() && error == std::errc() && rest == number.data() + number.size())
            constants_.push_back({std::string(name), parsed});
    }
}
