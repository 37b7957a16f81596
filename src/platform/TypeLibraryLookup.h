#pragma once

#include <optional>
#include <string>

// Where the host system registered its type library: the registry on Windows; on Linux the
// registry of a Wine prefix, where the host's VB environment is installed.
class CTypeLibraryLookup {
public:
    // The default value of the key TypeLib\{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}\97.0\0\win32
    // of the classes root (the library's full path, as UTF-8), or nothing when no key or text
    // default value is there. On Linux the prefix is $WINEPREFIX, else $HOME/.wine.
    static std::optional<std::string> FindHostTypeLibrary();
};
