#include <cstdio>

#include "app/ConvertHelper.h"
#include "app/DialogLauncher.h"

// A build without the dialog still tells a user who starts it bare how to convert.
int RunMainDialog(int, char**)
{
    std::fputs("Rulecast: this build has no dialog; two arguments, a rule-file pattern and a target folder, "
               "convert without one.\n",
               stderr);
    CConvertHelper::ShowUsage();
    return CConvertHelper::kUsageError;
}
