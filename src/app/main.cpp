#include "app/RulecastApp.h"
#include "platform/Console.h"
#include "platform/ProgramArguments.h"

int main(int argc, char** argv)
{
    CRulecastApp app;
    return CConsole::ExitStatus(app.InitInstance(CProgramArguments::Words(argc, argv)));
}
