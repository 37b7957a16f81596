#include "platform/StandardStreams.h"

// The streams carry bytes as they are, and CConsole::Prepare has already made a reader that went
// away a failed write rather than SIGPIPE.
void CStandardStreams::UseAsByteChannel() {}
