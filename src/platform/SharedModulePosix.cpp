#include "platform/SharedModule.h"

#include <dlfcn.h>

namespace {

std::string LoaderError()
{
    const char* error = ::dlerror();
    return error ? error : "";
}

}  // namespace

bool CSharedModule::Load(const std::string& path)
{
    // Every symbol bound now: a module that does not fit the program fails here, not mid-way.
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        error_ = LoaderError();
    return handle_ != nullptr;
}

void* CSharedModule::Function(const std::string& name)
{
    void* function = handle_ ? ::dlsym(handle_, name.c_str()) : nullptr;
    if (!function)
        error_ = LoaderError();
    return function;
}
