#include "platform/ProgramArguments.h"

#if defined(_WIN32)
#include <memory>
#include <windows.h>
#include <shellapi.h>

#include "platform/WideText.h"
#endif

std::vector<std::string> CProgramArguments::Words(int argc, char** argv)
{
#if defined(_WIN32)
    // main's argv is in the ANSI code page, which cannot hold every name; the UTF-16 command
    // line can, split the same way the runtime splits it.
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&::LocalFree)> words(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
    if (words) {
        std::vector<std::string> result;
        for (int i = 0; i < count; ++i)
            result.push_back(Utf8Text(std::wstring(words.get()[i])));
        return result;
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}
