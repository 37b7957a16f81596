#pragma once

#include <string>

#include "vbproject/VBItem.h"

// A class file, <folder>/<name>.cls.
class CVBClass : public CVBItem {
public:
    explicit CVBClass(std::string name, CTextEncoder* encoder = nullptr);

    bool Create(const std::string& folder) override;
};
