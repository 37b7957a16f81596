#include "platform/TypeLibraryLookup.h"

#include <fstream>
#include <string_view>

#include "common/WineRegistryFile.h"
#include "platform/Environment.h"

namespace {

// The classes root shows the user's classes over the machine's; Wine keeps the first in user.reg
// and the second in system.reg, both under Software\Classes. Key names match without regard to case.
constexpr std::string_view kTypeLibraryKey =
    "Software\\Classes\\TypeLib\\{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}\\97.0\\0\\win32";
constexpr const char* kRegistryFiles[] = {"user.reg", "system.reg"};

std::optional<std::string> WinePrefix()
{
    if (std::optional<std::string> prefix = CEnvironment::Value("WINEPREFIX"))
        return prefix;
    if (std::optional<std::string> home = CEnvironment::Value("HOME"))
        return *home + "/.wine";
    return std::nullopt;
}

}  // namespace

std::optional<std::string> CTypeLibraryLookup::FindHostTypeLibrary()
{
    std::optional<std::string> prefix = WinePrefix();
    if (!prefix)
        return std::nullopt;
    for (const char* registryFile : kRegistryFiles) {
        std::ifstream file(*prefix + "/" + registryFile, std::ios::binary);
        if (std::optional<std::string> value = CWineRegistryFile::DefaultValue(file, kTypeLibraryKey))
            return value;
    }
    return std::nullopt;
}
