#include "platform/StandardStreams.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

void CStandardStreams::UseAsByteChannel()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}
