#include "app/RulecastApp.h"

#include "app/ConvertHelper.h"
#include "app/DialogLauncher.h"

int CRulecastApp::InitInstance(int argc, char** argv)
{
    if (argc > 1) {
        CConvertHelper converter;
        return converter.ConvertBatch(argc, argv);
    }
    return RunMainDialog(argc, argv);
}
