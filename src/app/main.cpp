#include "app/RulecastApp.h"

int main(int argc, char** argv)
{
    CRulecastApp app;
    return app.InitInstance(argc, argv);
}
