#include "platform/TextDecoder.h"

#include <algorithm>
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

// Where each whole character of in starts, and last where the whole characters end. A lead byte
// may be followed by any byte of the pair, which is why a piece is walked from its start.
std::vector<size_t> CharacterStarts(unsigned codePage, std::string_view in)
{
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
    return starts;
}

// The characters as UTF-16, up to the first one that is none of the code page; invalid tells
// whether there is one. Every code page taken gives one UTF-16 unit per character.
std::wstring WideCharacters(unsigned codePage, std::string_view in, const std::vector<size_t>& starts,
                            bool& invalid)
{
    std::wstring wide(starts.size() - 1, L'\0');
    const int whole = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(),
                                            static_cast<int>(starts.back()), wide.data(), static_cast<int>(wide.size()));
    for (size_t i = 0; whole != static_cast<int>(wide.size()) && i < wide.size(); ++i) {
        // A character at a time finds the first one that is none.
        const int length = static_cast<int>(starts[i + 1] - starts[i]);
        if (::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data() + starts[i], length, &wide[i], 1) != 1) {
            wide.resize(i);
            invalid = true;
        }
    }
    const size_t control = std::find_if(wide.begin(), wide.end(), IsC1Control) - wide.begin();
    if (control < wide.size()) {
        wide.resize(control);
        invalid = true;
    }
    return wide;
}

}  // namespace

CTextDecoder::Result CTextDecoder::Decode(unsigned codePage, std::string_view in, char* out, size_t room)
{
    Result result;
    if (in.size() > INT_MAX / 3)
        in = in.substr(0, INT_MAX / 3);
    if (room > INT_MAX)
        room = INT_MAX;
    const std::vector<size_t> starts = CharacterStarts(codePage, in);
    const std::wstring wide = WideCharacters(codePage, in, starts, result.invalid);
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

