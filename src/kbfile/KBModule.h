#pragma once

#include <string>
#include <utility>

// The knowledge-base module of a rule file; its name names the project and its folder.
class CKBModule {
public:
    explicit CKBModule(std::string moduleName) : name(std::move(moduleName)) {}
    virtual ~CKBModule() = default;

    std::string name;
};
