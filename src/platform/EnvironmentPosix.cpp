#include "platform/Environment.h"

#include <cstdlib>

bool CEnvironment::IsSet(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    return value != nullptr && *value != '\0';
}
