#include "common/CodePages.h"

#include <string>

#include "common/FoldCase.h"

std::optional<unsigned> CCodePages::Find(std::string_view numberOrName)
{
    if (numberOrName.empty())
        return std::nullopt;
    for (const Page& page : kPages) {
        if (numberOrName == std::to_string(page.number))
            return page.number;
        for (std::string_view name : page.names)
            if (EqualIgnoringCase(numberOrName, name))
                return page.number;
    }
    return std::nullopt;
}
