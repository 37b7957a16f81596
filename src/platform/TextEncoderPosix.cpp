#include "platform/TextEncoder.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include <iconv.h>

#include "common/CodePages.h"
#include "common/Utf8.h"
#include "common/FoldCase.h"

struct CTextEncoder::Converter {
    // What is known of a character of the Basic Multilingual Plane.
    enum Verdict : unsigned char { kUnknown, kReadsBack, kNoPlace };

    Converter(iconv_t to, iconv_t back) : to(to), back(back), verdicts(0x10000, kUnknown) {}
    ~Converter()
    {
        iconv_close(to);
        iconv_close(back);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    iconv_t to;    // UTF-8 to the code page
    iconv_t back;  // the code page to UTF-8, to see that what was written reads back the same
    // Each character is tried once: a text uses few of them, over and over.
    std::vector<Verdict> verdicts;
};

namespace {

constexpr char kReplacement = '?';
// Room added to the output beyond the input's size: shift sequences and the like.
constexpr size_t kSpareRoom = 16;
const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);

// The name to give the converter. The Windows code pages by their numbers and names; any other
// name as the converter knows it, but without the converter's suffixes ("//TRANSLIT", "//IGNORE"),
// which would bring in the best-fit replacements or silent dropping that the '?' rule excludes.
std::optional<std::string> ConverterName(const std::string& codePage)
{
    if (codePage.empty() || codePage.find('/') != std::string::npos)
        return std::nullopt;
    if (const std::optional<unsigned> number = CCodePages::Find(codePage))
        return *number == CCodePages::kUtf8 ? "UTF-8" : "CP" + std::to_string(*number);
    if (codePage.find_first_not_of("0123456789") == std::string::npos)
        return std::nullopt;
    return codePage;
}

bool IsUtf8(std::string_view converterName)
{
    return EqualIgnoringCase(converterName, "UTF-8") || EqualIgnoringCase(converterName, "UTF8");
}

// Converts what is left of the input, or with no input returns to the initial shift state,
// growing out as needed; written counts the bytes of out in use. False when the converter
// stopped at bytes that have no place in the code page.
bool Convert(iconv_t handle, char** in, size_t* inLeft, std::string& out, size_t& written)
{
    for (;;) {
        char* to = out.data() + written;
        size_t room = out.size() - written;
        const size_t result = iconv(handle, in, inLeft, &to, &room);
        written = static_cast<size_t>(to - out.data());
        if (result != static_cast<size_t>(-1))
            return true;
        if (errno != E2BIG)
            return false;
        out.resize(out.size() + std::max(out.size() / 2, kSpareRoom));
    }
}

// True when bytes of the code page read back as exactly text.
bool ReadsBackAs(iconv_t back, std::string_view bytes, std::string_view text)
{
    // Read back a piece at a time, each compared with the text as it comes.
    char piece[256];
    iconv(back, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());  // iconv's signature; it does not write the input
    size_t inLeft = bytes.size();
    size_t compared = 0;
    // Until the input is used up, then once more to return to the initial state.
    for (bool last = false; !last;) {
        char* to = piece;
        size_t room = sizeof piece;
        last = inLeft == 0;
        const size_t result = last ? iconv(back, nullptr, nullptr, &to, &room) : iconv(back, &in, &inLeft, &to, &room);
        if (result == static_cast<size_t>(-1) && errno != E2BIG)
            return false;
        const std::string_view read(piece, static_cast<size_t>(to - piece));
        if (text.substr(compared, read.size()) != read)
            return false;
        compared += read.size();
    }
    return compared == text.size();
}

// Appends run in the code page, each character that has no place in it as one '?'; returns how
// many there were.
size_t ConvertRun(iconv_t handle, std::string_view run, std::string& out)
{
    size_t replaced = 0;
    char* in = const_cast<char*>(run.data());  // iconv's signature; it does not write the input
    size_t inLeft = run.size();
    size_t written = out.size();
    out.resize(written + inLeft + kSpareRoom);
    while (!Convert(handle, &in, &inLeft, out, written) && inLeft > 0) {
        // A stateful code page must be back in its initial state before the plain '?'.
        Convert(handle, nullptr, nullptr, out, written);
        if (written == out.size())
            out.resize(out.size() + kSpareRoom);
        out[written++] = kReplacement;
        ++replaced;
        const size_t skipped = CUtf8::CharacterLength(std::string_view(in, inLeft));
        in += skipped;
        inLeft -= skipped;
    }
    // Whatever follows is ASCII, written in the initial state.
    Convert(handle, nullptr, nullptr, out, written);
    out.resize(written);
    return replaced;
}

}  // namespace

CTextEncoder::CTextEncoder(std::string name, std::unique_ptr<Converter> converter)
    : name_(std::move(name)), converter_(std::move(converter))
{
}

CTextEncoder::~CTextEncoder() = default;

std::string CTextEncoder::DefaultCodePage()
{
    return "UTF-8";
}

std::unique_ptr<CTextEncoder> CTextEncoder::Create(const std::string& codePage)
{
    const std::optional<std::string> converterName = ConverterName(codePage);
    if (!converterName)
        return nullptr;
    if (IsUtf8(*converterName))
        return std::unique_ptr<CTextEncoder>(new CTextEncoder(codePage, nullptr));
    const iconv_t to = iconv_open(converterName->c_str(), "UTF-8");
    if (to == kNoHandle)
        return nullptr;
    const iconv_t back = iconv_open("UTF-8", converterName->c_str());
    if (back == kNoHandle) {
        iconv_close(to);
        return nullptr;
    }
    std::unique_ptr<CTextEncoder> encoder(new CTextEncoder(codePage, std::make_unique<Converter>(to, back)));
    // Line ends, the '?' and the ASCII that Encode copies must be the same bytes in the code page.
    std::string ascii;
    for (int c = 1; c < 0x80; ++c)
        ascii += static_cast<char>(c);
    std::string converted;
    encoder->EncodeRun(ascii, converted);
    if (converted != ascii || encoder->replacements_ != 0)
        return nullptr;
    return encoder;
}

void CTextEncoder::EncodeRun(std::string_view run, std::string& out)
{
    Converter& converter = *converter_;
    // A character is written only where it reads back as itself: glibc gives some characters a
    // best fit that reads back as another one (the yen sign as 932's backslash), which Windows
    // would not write either.
    bool known = true;
    for (size_t at = 0; known && at < run.size();) {
        const size_t length = CUtf8::CharacterLength(run.substr(at));
        const std::optional<char32_t> point = CUtf8::CodePoint(run.substr(at, length));
        known = point && *point <= 0xFFFF && converter.verdicts[*point] == Converter::kReadsBack;
        at += length;
    }
    if (known) {
        ConvertRun(converter.to, run, out);
        return;
    }
    std::string bytes;
    for (size_t at = 0; at < run.size();) {
        const std::string_view character = run.substr(at, CUtf8::CharacterLength(run.substr(at)));
        at += character.size();
        const std::optional<char32_t> point = CUtf8::CodePoint(character);
        const bool cached = point && *point <= 0xFFFF;
        bytes.clear();
        bool readsBack = false;
        if (!cached || converter.verdicts[*point] != Converter::kNoPlace) {
            readsBack = ConvertRun(converter.to, character, bytes) == 0 && ReadsBackAs(converter.back, bytes, character);
            if (cached)
                converter.verdicts[*point] = readsBack ? Converter::kReadsBack : Converter::kNoPlace;
        }
        if (readsBack) {
            out += bytes;
        } else {
            out += kReplacement;
            ++replacements_;
        }
    }
}
