#pragma once

// Standard input and output as a byte channel for a protocol that counts bytes: no line-end
// translation on Windows.
class CStandardStreams {
public:
    static void UseAsByteChannel();
};
