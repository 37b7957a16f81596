#pragma once

#include <string>

#include "vbproject/VBItem.h"

// A module file, <folder>/<name>.bas.
class CVBModule : public CVBItem {
public:
    explicit CVBModule(std::string name, CTextEncoder* encoder = nullptr);

    bool Create(const std::string& folder) override;
};
