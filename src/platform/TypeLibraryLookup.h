#pragma once

#include <optional>
#include <string>

// Where the host system registered its type library. On Windows this is the registry; here it is
// the registry of a Wine prefix, where the host's VB environment is installed.
class CTypeLibraryLookup {
public:
    // The default value of the key TypeLib\{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}\97.0\0\win32
    // of the classes root (the library's full path, as UTF-8), or nothing when no prefix, registry
    // file, key or text default value is there. The prefix is $WINEPREFIX, else $HOME/.wine.
    static std::optional<std::string> FindHostTypeLibrary();
};
