#include "platform/TextEncoder.h"

#include <climits>
#include <optional>
#include <string>
#include <windows.h>

#include "common/CodePages.h"
#include "common/Utf8.h"

struct CTextEncoder::Converter {
    UINT codePage;
};

namespace {

constexpr char kReplacement = '?';

// Whether the character may have a place in a code page taken: they hold none beyond the Basic
// Multilingual Plane, and Windows' C1 controls only fill their holes.
bool MayHavePlace(char32_t point)
{
    return point <= 0xFFFF && (point < 0x80 || point > 0x9F);
}

// The one character in the code page, as Windows writes it without best-fit mapping; none when it
// has no place there.
std::optional<std::string> InCodePage(UINT codePage, char32_t point)
{
    if (!MayHavePlace(point))
        return std::nullopt;
    const wchar_t wide = static_cast<wchar_t>(point);
    char bytes[8];
    BOOL usedReplacement = FALSE;
    const int length = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes,
                                             "?", &usedReplacement);
    if (length <= 0 || usedReplacement)
        return std::nullopt;
    return std::string(bytes, static_cast<size_t>(length));
}

// The whole run in the code page; none when any of its characters has no place there.
std::optional<std::string> RunInCodePage(UINT codePage, std::string_view run)
{
    std::wstring wide;
    for (size_t at = 0; at < run.size();) {
        const size_t length = CUtf8::CharacterLength(run.substr(at));
        const std::optional<char32_t> point = CUtf8::CodePoint(run.substr(at, length));
        if (!point || !MayHavePlace(*point))
            return std::nullopt;
        wide += static_cast<wchar_t>(*point);
        at += length;
    }
    if (wide.size() > INT_MAX / 4)
        return std::nullopt;
    const int size = static_cast<int>(wide.size());
    BOOL usedReplacement = FALSE;
    const int length =
        ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, "?", &usedReplacement);
    if (length <= 0 || usedReplacement)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length, "?", nullptr);
    return bytes;
}

}  // namespace

CTextEncoder::CTextEncoder(std::string name, std::unique_ptr<Converter> converter)
    : name_(std::move(name)), converter_(std::move(converter))
{
}

CTextEncoder::~CTextEncoder() = default;

std::string CTextEncoder::DefaultCodePage()
{
    // The machine's ANSI code page, which every Windows program of the machine reads text in.
    const std::string acp = std::to_string(::GetACP());
    return CCodePages::Find(acp) ? acp : "UTF-8";
}

std::unique_ptr<CTextEncoder> CTextEncoder::Create(const std::string& codePage)
{
    const std::optional<unsigned> number = CCodePages::Find(codePage);
    if (!number)
        return nullptr;
    if (*number == CCodePages::kUtf8)
        return std::unique_ptr<CTextEncoder>(new CTextEncoder(codePage, nullptr));
    if (!::IsValidCodePage(*number))
        return nullptr;
    return std::unique_ptr<CTextEncoder>(new CTextEncoder(codePage, std::make_unique<Converter>(Converter{*number})));
}

void CTextEncoder::EncodeRun(std::string_view run, std::string& out)
{
    // Most runs are words of a language the code page was made for: one call for the whole run,
    // and a character at a time only when some character has no place.
    if (const std::optional<std::string> bytes = RunInCodePage(converter_->codePage, run)) {
        out += *bytes;
        return;
    }
    for (size_t at = 0; at < run.size();) {
        const size_t length = CUtf8::CharacterLength(run.substr(at));
        const std::optional<char32_t> point = CUtf8::CodePoint(run.substr(at, length));
        at += length;
        const std::optional<std::string> bytes = point ? InCodePage(converter_->codePage, *point) : std::nullopt;
        if (bytes) {
            out += *bytes;
        } else {
            out += kReplacement;
            ++replacements_;
        }
    }
}
