#include "common/Wildcard.h"

bool CWildcard::Matches(const std::string& wildcard, const std::string& name)
{
    return Matches(wildcard, name, [](char a, char b) { return a == b; });
}
