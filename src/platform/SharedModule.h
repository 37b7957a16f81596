#pragma once

#include <string>

// A library of the program's own, loaded while the program runs, so that what it needs is loaded
// only when it is used. It stays loaded until the process ends: a toolkit leaves handlers behind
// that must not outlive its code.
class CSharedModule {
public:
    // False when path cannot be loaded; Error() then says why.
    bool Load(const std::string& path);
    // The function the module exports under name; nullptr when there is none.
    void* Function(const std::string& name);
    const std::string& Error() const { return error_; }

private:
    void* handle_ = nullptr;
    std::string error_;
};
