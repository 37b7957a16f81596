#include "platform/TextDecoder.h"

#include <climits>
#include <string>
#include <vector>
#include <windows.h>

namespace {

bool IsC1Control(wchar_t character)
{
    return character >= 0x80 && character <= 0x9F;
}

// Bytes of UTF-8 that one UTF-16 unit of the Basic Multilingual Plane takes.
size_t Utf8Length(wchar_t unit)
{
    return unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
}

}  // namespace

CTextDecoder::Result CTextDecoder::Decode(unsigned codePage, std::string_view in, char* out, size_t room)
{
    Result result;
    if (in.size() > INT_MAX / 3)
        in = in.substr(0, INT_MAX / 3);
    if (room > INT_MAX)
        room = INT_MAX;
    // Where each whole character starts. A lead byte may be followed by any byte of the pair,
    // which is why the pieces are walked from their start.
    std::vector<size_t> starts;
    size_t at = 0;
    while (at < in.size()) {
        const size_t length = ::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(in[at])) ? 2 : 1;
        if (at + length > in.size())
            break;
        starts.push_back(at);
        at += length;
    }
    starts.push_back(at);
    // Every code page taken gives one UTF-16 unit per character; a character at a time finds the
    // first one that is none.
    std::wstring wide(starts.size() - 1, L'\0');
    const int whole = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(at),
                                            wide.data(), static_cast<int>(wide.size()));
    if (whole != static_cast<int>(wide.size())) {
        for (size_t i = 0; i < wide.size(); ++i) {
            if (::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data() + starts[i],
                                      static_cast<int>(starts[i + 1] - starts[i]), &wide[i], 1) != 1) {
                wide.resize(i);
                result.invalid = true;
                break;
            }
        }
    }
    for (size_t i = 0; i < wide.size(); ++i) {
        if (IsC1Control(wide[i])) {
            wide.resize(i);
            result.invalid = true;
            break;
        }
    }
    size_t characters = 0, bytes = 0;
    while (characters < wide.size() && bytes + Utf8Length(wide[characters]) <= room)
        bytes += Utf8Length(wide[characters++]);
    if (characters < wide.size())
        result.invalid = false;  // out is full before the bytes that are no character
    if (characters > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(characters), out, static_cast<int>(bytes),
                              nullptr, nullptr);
    result.read = starts[characters];
    result.written = bytes;
    return result;
}
