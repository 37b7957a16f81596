#include <string_view>

#include "app/Batch.h"
#include "app/DialogLauncher.h"
#include "platform/Console.h"

namespace {

constexpr std::string_view kNoDialog =
    "Rulecast: this build has no dialog; two arguments, a rule-file pattern and a target folder, "
    "convert without one.";

}  // namespace

// A build without the dialog still tells a user who starts it bare how to convert.
int RunMainDialog(const std::vector<std::string>&)
{
    CConsole::Warn(kNoDialog);
    CBatch::ShowUsage();
    return CBatch::kUsageError;
}
