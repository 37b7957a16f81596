#pragma once

#include <string>

#include "dialog/DialogPrompts.h"

// What the main dialog's logic asks of the window that shows it: besides the message boxes and
// choosers, the two fields and the documents folder. The Qt and the Win32 window implement it;
// tests answer it from a script.
class CDialogFace : public CDialogPrompts {
public:
    // The two read-only edits: shown from the fields, or read back into them.
    virtual void ShowFields(const std::string& rulePath, const std::string& targetFolder) = 0;
    virtual void ReadFields(std::string& rulePath, std::string& targetFolder) = 0;
    // The user's documents folder, not created; what stands in when there is none is the face's.
    virtual std::string DocumentsFolder() = 0;
};
