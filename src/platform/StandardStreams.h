#pragma once

// Standard input and output as a byte channel for a protocol that counts bytes: no line-end
// translation on Windows, and a reader that has gone away is a failed write rather than the end
// of the process (SIGPIPE) on Linux.
class CStandardStreams {
public:
    static void UseAsByteChannel();
};
