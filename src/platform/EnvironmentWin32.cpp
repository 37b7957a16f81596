#include "platform/Environment.h"

#include <cstdlib>

#include "platform/WideText.h"

bool CEnvironment::IsSet(const std::string& name)
{
    // The wide form, which holds what the session set whatever the ANSI code page.
    const wchar_t* value = ::_wgetenv(WideText(name).c_str());
    return value != nullptr && *value != L'\0';
}
