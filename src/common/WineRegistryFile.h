#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

// A registry file as Wine keeps one in its prefix (user.reg, system.reg): "[key]" lines, each
// followed by its values, with characters beyond ASCII escaped as UTF-16 code units.
class CWineRegistryFile {
public:
    // The text default value ("@=") of key, as UTF-8; key names match without regard to case.
    // Nothing when the file holds no such key or no text value for it, or cannot be read.
    static std::optional<std::string> DefaultValue(std::istream& file, std::string_view key);
};
