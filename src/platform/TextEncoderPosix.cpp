#include "platform/TextEncoder.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <utility>

#include <iconv.h>

struct CTextEncoder::Converter {
    explicit Converter(iconv_t handle) : handle(handle) {}
    ~Converter() { iconv_close(handle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    iconv_t handle;
};

namespace {

constexpr char kReplacement = '?';
// Room added to the output beyond the input's size: shift sequences and the like.
constexpr size_t kSpareRoom = 16;

// The Windows code pages that may be given by number, as the converter names them.
constexpr std::pair<std::string_view, std::string_view> kNumberedCodePages[] = {
    {"874", "CP874"},   {"932", "CP932"},   {"936", "CP936"},   {"949", "CP949"},
    {"950", "CP950"},   {"1250", "CP1250"}, {"1251", "CP1251"}, {"1252", "CP1252"},
    {"1253", "CP1253"}, {"1254", "CP1254"}, {"1255", "CP1255"}, {"1256", "CP1256"},
    {"1257", "CP1257"}, {"1258", "CP1258"}, {"65001", "UTF-8"},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'a' && x <= 'z' ? x - 'a' + 'A' : x) == (y >= 'a' && y <= 'z' ? y - 'a' + 'A' : y);
    });
}

// The name to give the converter. A number is one of the Windows code pages or nothing; a name
// may not carry the converter's suffixes ("//TRANSLIT", "//IGNORE"), which would bring in the
// best-fit replacements or silent dropping that the '?' rule excludes.
std::optional<std::string> ConverterName(const std::string& codePage)
{
    if (codePage.empty() || codePage.find('/') != std::string::npos)
        return std::nullopt;
    if (codePage.find_first_not_of("0123456789") != std::string::npos)
        return codePage;
    for (const auto& [number, name] : kNumberedCodePages)
        if (codePage == number)
            return std::string(name);
    return std::nullopt;
}

bool IsUtf8(std::string_view converterName)
{
    return EqualsIgnoringCase(converterName, "UTF-8") || EqualsIgnoringCase(converterName, "UTF8");
}

// Bytes of the UTF-8 character at the start of text; 1 when they are no character, so that each
// stray byte becomes one '?'.
size_t CharacterLength(std::string_view text)
{
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (lead >= 0xF5 || length > text.size())
        return 1;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return 1;
    return length;
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
    const iconv_t handle = iconv_open(converterName->c_str(), "UTF-8");
    if (handle == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    std::unique_ptr<CTextEncoder> encoder(new CTextEncoder(codePage, std::make_unique<Converter>(handle)));
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
    const iconv_t handle = converter_->handle;
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
        ++replacements_;
        const size_t skipped = CharacterLength(std::string_view(in, inLeft));
        in += skipped;
        inLeft -= skipped;
    }
    // Whatever follows is ASCII, written in the initial state.
    Convert(handle, nullptr, nullptr, out, written);
    out.resize(written);
}
