#include "platform/Environment.h"

#include <cstdlib>

#if defined(_WIN32)
#include "platform/WideText.h"
#endif

std::optional<std::string> CEnvironment::Value(const std::string& name)
{
#if defined(_WIN32)
    // The wide form, which holds what the session set whatever the ANSI code page.
    const wchar_t* value = ::_wgetenv(WideText(name).c_str());
    if (value == nullptr || *value == L'\0')
        return std::nullopt;
    return Utf8Text(std::wstring(value));
#else
    const char* value = std::getenv(name.c_str());
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
#endif
}

bool CEnvironment::IsSet(const std::string& name)
{
    return Value(name).has_value();
}
