#include "platform/Console.h"

#include <cstdio>

namespace {

void PrintLine(FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    // Some messages already end in a line feed; they get no second one.
    if (text.empty() || text.back() != '\n')
        std::fputc('\n', stream);
    std::fflush(stream);
}

}  // namespace

void CConsole::Inform(std::string_view text)
{
    PrintLine(stdout, text);
}

void CConsole::Warn(std::string_view text)
{
    PrintLine(stderr, text);
}

bool CConsole::StandsAlone()
{
    return false;
}
