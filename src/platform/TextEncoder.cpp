#include "platform/TextEncoder.h"

namespace {

bool IsAscii(char byte)
{
    return static_cast<unsigned char>(byte) < 0x80;
}

}  // namespace

void CTextEncoder::Encode(std::string_view text, std::string& out)
{
    if (!converter_) {
        out.append(text);
        return;
    }
    // Every code page taken writes ASCII as it is, so only the runs of other characters go
    // through the converter; VB code is mostly ASCII.
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && IsAscii(text[end]))
            ++end;
        out.append(text.substr(start, end - start));
        start = end;
        while (end < text.size() && !IsAscii(text[end]))
            ++end;
        if (end > start)
            EncodeRun(text.substr(start, end - start), out);
        start = end;
    }
}
