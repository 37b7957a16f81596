#include "platform/ProgramArguments.h"

std::vector<std::string> CProgramArguments::Words(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}
