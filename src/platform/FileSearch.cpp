#include "platform/FileSearch.h"

bool CFileSearch::Matches(const std::string& wildcard, const std::string& name)
{
    return Matches(wildcard, name, [](char a, char b) { return a == b; });
}
