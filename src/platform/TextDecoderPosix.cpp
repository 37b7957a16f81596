#include "platform/TextDecoder.h"

#include <cerrno>
#include <string>

#include <iconv.h>

namespace {

// Bytes of the longest UTF-8 character.
constexpr size_t kLongestCharacter = 4;

}  // namespace

CTextDecoder::Result CTextDecoder::Decode(unsigned codePage, std::string_view in, char* out, size_t room)
{
    Result result;
    const std::string name = "CP" + std::to_string(codePage);
    const iconv_t handle = iconv_open("UTF-8", name.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1)) {
        result.invalid = true;
        return result;
    }
    char* from = const_cast<char*>(in.data());  // iconv's signature; it does not write the input
    size_t fromLeft = in.size();
    char* to = out;
    // A converter that holds back a character, to combine it with the next one, gives it out only
    // when told that the piece ends: room is kept for it.
    const size_t heldBack = room > 2 * kLongestCharacter ? kLongestCharacter : 0;
    size_t toLeft = room - heldBack;
    // EINVAL: a character cut off at the end stays for the next piece; E2BIG: out is full.
    const bool stopped = iconv(handle, &from, &fromLeft, &to, &toLeft) == static_cast<size_t>(-1);
    result.invalid = stopped && errno == EILSEQ;
    toLeft += heldBack;
    iconv(handle, nullptr, nullptr, &to, &toLeft);
    iconv_close(handle);
    result.read = in.size() - fromLeft;
    result.written = room - toLeft;
    return result;
}
