#pragma once

#include <string>
#include <vector>

#include "platform/ProgramFolders.h"

// The dialog's remembered target folder, the first line of config.txt: beside the executable, or
// in the user's folder where the executable's takes no file.
class CTargetFolderConfig {
public:
    // The executable's and the user's config folders of folders; an empty one is no place.
    explicit CTargetFolderConfig(CProgramFolders folders);

    // target becomes the remembered folder, or documentsFolder when there is none.
    void Load(std::string& target, const std::string& documentsFolder) const;
    // False when config.txt can be written nowhere; the dialog ignores it.
    bool Save(const std::string& target) const;

private:
    // Where config.txt is looked for, in order.
    std::vector<std::string> PathsToRead() const;

    CProgramFolders folders_;
};
