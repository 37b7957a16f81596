#include "platform/StandardStreams.h"

#include <csignal>

void CStandardStreams::UseAsByteChannel()
{
    std::signal(SIGPIPE, SIG_IGN);
}
