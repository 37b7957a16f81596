#include "platform/Console.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

#include "common/MessageText.h"

namespace {

void PrintLine(FILE* stream, FILE* other, std::string_view text)
{
    // The stream's error flag stays set: a failure is said once, however many lines follow.
    const bool failedBefore = std::ferror(stream) != 0;
    std::fwrite(text.data(), 1, text.size(), stream);
    // Some messages already end in a line feed; they get no second one.
    if (text.empty() || text.back() != '\n')
        std::fputc('\n', stream);
    if ((std::fflush(stream) != 0 || std::ferror(stream)) && !failedBefore)
        PrintLine(other, stream, MessageText(CConsole::kWriteError, {{"reason", std::string_view(std::strerror(errno))}}));
}

}  // namespace

void CConsole::Prepare()
{
    std::signal(SIGPIPE, SIG_IGN);
    // The lowest free number is the one open() gives: taken in order, each closed one is filled.
    for (int descriptor = 0; descriptor <= 2; ++descriptor)
        if (::fcntl(descriptor, F_GETFD) == -1 && errno == EBADF)
            ::open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
}

void CConsole::Inform(std::string_view text)
{
    PrintLine(stdout, stderr, text);
}

void CConsole::Warn(std::string_view text)
{
    PrintLine(stderr, stdout, text);
}

int CConsole::ExitStatus(int status)
{
    ShowHeld();
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) || std::ferror(stderr);
    return failed && status == 0 ? 1 : status;
}

void CConsole::ShowHeld()
{
    // Nothing is held: a terminal outlives the program.
}

bool CConsole::StandsAlone()
{
    return false;
}
