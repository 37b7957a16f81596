#include "app/RulecastApp.h"
#include "platform/ProgramArguments.h"

int main(int argc, char** argv)
{
    CRulecastApp app;
    return app.InitInstance(CProgramArguments::Words(argc, argv));
}
