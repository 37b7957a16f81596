#pragma once

#include <string>

// The fixed heads of the project's files and the project file's entry lines, filled with a name.
// Each sets out to the filled template.
class CVBFileTexts {
public:
    static void GetClassHeader(const std::string& name, std::string& out);
    static void GetModuleHeader(const std::string& name, std::string& out);
    // The project file's head; the host's type library path is looked up on this machine.
    static void GetProjectHeader(const std::string& name, std::string& out);
    static void GetClassEntry(const std::string& name, std::string& out);
    static void GetModuleEntry(const std::string& name, std::string& out);
};
