#pragma once

#include <string>

#include "platform/FolderLock.h"
#include "vbproject/VBItem.h"

// The project file, <target>/<name>/<name>.vbp; its folder is made on Create, and locked against
// other conversions into it until the object goes.
class CVBProject : public CVBItem {
public:
    explicit CVBProject(std::string name, CTextEncoder* encoder = nullptr);

    // Makes the project folder in targetFolder (one level; an existing one is reused with
    // whatever it holds), locks it, waiting, with one line on standard error, while another
    // process holds it, puts back the earlier files of a conversion that was killed while it
    // replaced them (saying so once on standard error), removes what killed conversions left
    // there, and creates the project file in it. False, with nothing opened or written, when the
    // folder cannot be made or locked, or those earlier files cannot be put back.
    bool Create(const std::string& targetFolder) override;

private:
    // Finishes the undo of a replacement that was killed half way, if there is one.
    bool Recover(const std::string& projectFolder);

    CFolderLock lock_;
};
