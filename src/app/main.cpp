#include "app/RulecastApp.h"
#include "platform/ProgramArguments.h"
#include "platform/TemporaryFiles.h"

int main(int argc, char** argv)
{
    CTemporaryFiles::InstallHandlers();
    CRulecastApp app;
    return app.InitInstance(CProgramArguments::Words(argc, argv));
}
