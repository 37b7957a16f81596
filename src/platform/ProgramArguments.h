#pragma once

#include <string>
#include <vector>

// The words of the command line, the program's own name first, as UTF-8.
class CProgramArguments {
public:
    // argc and argv are main's; where the system hands the command line over in another form
    // (UTF-16 on Windows), that form is read instead.
    static std::vector<std::string> Words(int argc, char** argv);
};
