#include "platform/CodePages.h"

#include <algorithm>
#include <string>

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return upper(x) == upper(y); });
}

}  // namespace

std::optional<unsigned> CCodePages::Find(std::string_view numberOrName)
{
    if (numberOrName.empty())
        return std::nullopt;
    for (const Page& page : kPages) {
        if (numberOrName == std::to_string(page.number))
            return page.number;
        for (std::string_view name : page.names)
            if (SameIgnoringCase(numberOrName, name))
                return page.number;
    }
    return std::nullopt;
}
