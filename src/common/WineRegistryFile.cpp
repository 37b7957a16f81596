#include "common/WineRegistryFile.h"

#include <istream>

#include "common/FoldCase.h"
#include "common/Utf8.h"

namespace {

// Wine escapes every character beyond ASCII as one UTF-16 code unit in \x form, so a character
// outside the basic plane arrives as two escapes that must be joined before writing UTF-8.
class CUtf8Writer {
public:
    explicit CUtf8Writer(std::string& out) : out_(out) {}
    // A byte that stood unescaped in the file: kept as it is.
    void Byte(char c)
    {
        FlushSurrogate();
        out_ += c;
    }
    void Unit(char32_t unit)
    {
        bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high_ != 0 && low) {
            Append(0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00));
            high_ = 0;
            return;
        }
        FlushSurrogate();
        if (unit >= 0xD800 && unit <= 0xDBFF)
            high_ = unit;
        else
            Append(low ? kReplacement : unit);
    }
    void Finish() { FlushSurrogate(); }

private:
    static constexpr char32_t kReplacement = 0xFFFD;

    void FlushSurrogate()
    {
        if (high_ != 0)
            Append(kReplacement);
        high_ = 0;
    }
    void Append(char32_t c) { CUtf8::Append(c, out_); }

    std::string& out_;
    char32_t high_ = 0;
};

int DigitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

char32_t ReadNumber(std::string_view text, size_t& pos, int base, int maxDigits)
{
    char32_t value = 0;
    for (int count = 0; count < maxDigits && pos < text.size(); ++count, ++pos) {
        int digit = DigitValue(text[pos], base);
        if (digit < 0)
            break;
        value = value * base + digit;
    }
    return value;
}

// The code unit of the escape whose letter is at text[pos], which is moved past the escape; nothing
// for a backslash that only protects the next character (\\, \", \[, \]).
std::optional<char32_t> ReadEscape(std::string_view text, size_t& pos)
{
    char c = text[pos];
    if (c == 'x') {
        ++pos;
        return ReadNumber(text, pos, 16, 4);
    }
    if (c >= '0' && c <= '7')
        return ReadNumber(text, pos, 8, 3);
    constexpr std::string_view kLetters = "abefnrtv";
    constexpr std::string_view kControls = "\a\b\x1b\f\n\r\t\v";
    size_t letter = kLetters.find(c);
    if (letter == std::string_view::npos)
        return std::nullopt;
    ++pos;
    return static_cast<unsigned char>(kControls[letter]);
}

// Decodes text up to the first unescaped endChar; nothing when there is no such character.
std::optional<std::string> Unescape(std::string_view text, char endChar)
{
    std::string out;
    CUtf8Writer writer(out);
    size_t pos = 0;
    while (pos < text.size() && text[pos] != endChar) {
        if (text[pos++] != '\\') {
            writer.Byte(text[pos - 1]);
        } else if (pos < text.size()) {
            if (std::optional<char32_t> unit = ReadEscape(text, pos))
                writer.Unit(*unit);
            else
                writer.Byte(text[pos++]);
        }
    }
    if (pos >= text.size())
        return std::nullopt;
    writer.Finish();
    return out;
}

// A key line: "[" name "]", then the time of the last change.
bool IsKeyLine(std::string_view line, std::string_view key)
{
    std::optional<std::string> name = Unescape(line.substr(1), ']');
    return name && EqualIgnoringCase(*name, key);
}

// The text after "@=": a string, or an expandable string, which Windows also hands out unexpanded.
std::optional<std::string> TextValue(std::string_view data)
{
    constexpr std::string_view kExpandable = "str(2):";
    if (data.starts_with(kExpandable))
        data.remove_prefix(kExpandable.size());
    if (!data.starts_with('"'))
        return std::nullopt;
    std::optional<std::string> value = Unescape(data.substr(1), '"');
    // A reader of the value on Windows sees a C string, which ends at the first NUL.
    if (size_t nul = value ? value->find('\0') : std::string::npos; nul != std::string::npos)
        value->resize(nul);
    return value;
}

}  // namespace

std::optional<std::string> CWineRegistryFile::DefaultValue(std::istream& file, std::string_view key)
{
    std::string line;
    bool inKey = false;
    while (std::getline(file, line)) {
        if (line.ends_with('\r'))
            line.pop_back();
        if (line.starts_with('[')) {
            inKey = IsKeyLine(line, key);
        } else if (inKey && line.starts_with("@=")) {
            if (std::optional<std::string> value = TextValue(std::string_view(line).substr(2)))
                return value;
        }
    }
    return std::nullopt;
}
