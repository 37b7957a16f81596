#pragma once

#include <string>

#include "vbproject/VBItem.h"

// A class file, <folder>/<name>.cls.
class CVBClass : public CVBItem {
public:
    explicit CVBClass(std::string name);

    bool Create(const std::string& folder) override;
};
