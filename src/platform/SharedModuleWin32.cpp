#include "platform/SharedModule.h"

#include <windows.h>

#include "platform/WideText.h"

namespace {

std::string SystemError()
{
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        ::GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string error = length ? Utf8Text(text, length) : std::string();
    ::LocalFree(text);
    return error;
}

}  // namespace

bool CSharedModule::Load(const std::string& path)
{
    handle_ = ::LoadLibraryW(WideText(path).c_str());
    if (!handle_)
        error_ = SystemError();
    return handle_ != nullptr;
}

void* CSharedModule::Function(const std::string& name)
{
    FARPROC function = handle_ ? ::GetProcAddress(static_cast<HMODULE>(handle_), name.c_str()) : nullptr;
    if (!function)
        error_ = SystemError();
    return reinterpret_cast<void*>(function);
}
