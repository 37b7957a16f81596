#pragma once

// Start-up: the argument count chooses between the batch and the dialog.
class CRulecastApp {
public:
    // Returns the process's exit status.
    int InitInstance(int argc, char** argv);
};
