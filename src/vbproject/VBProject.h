#pragma once

#include <string>

#include "vbproject/VBItem.h"

// The project file, <target>/<name>/<name>.vbp; its folder is made on Create.
class CVBProject : public CVBItem {
public:
    explicit CVBProject(std::string name, CTextEncoder* encoder = nullptr);

    // Makes the project folder in targetFolder (one level; an existing one is reused with
    // whatever it holds) and creates the project file in it. False, with nothing opened or
    // written, when the folder cannot be made.
    bool Create(const std::string& targetFolder) override;
};
