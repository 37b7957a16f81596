#include "vbproject/SafeName.h"

#include <array>

#include "common/FoldCase.h"
#include "common/MessageText.h"
#include "common/Utf8.h"

namespace {

constexpr std::string_view kEmpty = "it is empty";
constexpr std::string_view kSeparator = "it holds a path separator";
constexpr std::string_view kControl = "it holds a control character";
constexpr std::string_view kReservedCharacter = "it holds '{character}'";
constexpr std::string_view kDevice = "it is a reserved device name";
constexpr std::string_view kTrailingDot = "it ends in a dot";
constexpr std::string_view kTrailingSpace = "it ends in a space";
constexpr std::string_view kTooLong = "it makes a file name of {count} characters, more than 255";
constexpr std::string_view kTooManyBytes = "it makes a file name of {count} bytes in UTF-8, more than 255";

// The longest name that NTFS, ext4 and their kin take, in UTF-16 units on Windows, in bytes on
// Linux; the first is the rule, since that is where VB runs.
constexpr size_t kLongestFileName = 255;

constexpr std::string_view kReservedCharacters = ":<>\"|?*";

// Names Windows gives to devices, whatever follows a dot. COM0, LPT0 and the superscript digits
// (UTF-8 "¹²³") are on newer versions' list as well; the console's two and the clock open a
// device too.
constexpr std::array<std::string_view, 33> kDeviceNames = {
    "con",  "prn",  "aux",  "nul",  "com0", "com1", "com2", "com3", "com4", "com5",
    "com6", "com7", "com8", "com9", "lpt0", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5",
    "lpt6", "lpt7", "lpt8", "lpt9", "com\xC2\xB9", "com\xC2\xB2", "com\xC2\xB3",
    "lpt\xC2\xB9", "lpt\xC2\xB2", "lpt\xC2\xB3", "conin$", "conout$", "clock$"};

bool IsDeviceName(std::string_view name)
{
    // "CON.txt" and "CON .txt" are the device as well.
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    const std::string lower = FoldCase(base);
    for (std::string_view device : kDeviceNames)
        if (lower == device)
            return true;
    return false;
}

}  // namespace

std::string CSafeName::Problem(std::string_view name, std::string_view extension)
{
    if (name.empty())
        return std::string(kEmpty);
    if (name.find_first_of("/\\") != std::string_view::npos)
        return std::string(kSeparator);
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            return std::string(kControl);
    }
    const size_t reserved = name.find_first_of(kReservedCharacters);
    if (reserved != std::string_view::npos)
        return MessageText(kReservedCharacter, {{"character", name.substr(reserved, 1)}});
    if (IsDeviceName(name))
        return std::string(kDevice);
    if (name.back() == '.')
        return std::string(kTrailingDot);
    if (name.back() == ' ')
        return std::string(kTrailingSpace);
    const size_t units = CUtf8::Utf16Length(name) + CUtf8::Utf16Length(extension);
    if (units > kLongestFileName)
        return MessageText(kTooLong, {{"count", std::to_string(units)}});
    // Linux counts bytes: what converts on one platform converts on the others.
    if (name.size() + extension.size() > kLongestFileName)
        return MessageText(kTooManyBytes, {{"count", std::to_string(name.size() + extension.size())}});
    return {};
}
