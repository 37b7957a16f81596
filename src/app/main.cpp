#include "app/RulecastApp.h"
#include "platform/Console.h"
#include "platform/ProgramArguments.h"
#include "platform/TemporaryFiles.h"

int main(int argc, char** argv)
{
    CConsole::Prepare();
    CTemporaryFiles::InstallHandlers();
    CRulecastApp app;
    return CConsole::ExitStatus(app.InitInstance(CProgramArguments::Words(argc, argv)));
}
