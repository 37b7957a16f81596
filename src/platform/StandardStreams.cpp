#include "platform/StandardStreams.h"

#include <cstdio>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

void CStandardStreams::UseAsByteChannel()
{
#if defined(_WIN32)
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // Elsewhere the streams carry bytes as they are, and CConsole::Prepare has already made a
    // reader that went away a failed write rather than SIGPIPE.
}
