#include "app/DialogLauncher.h"

#include <string_view>

#include "app/Batch.h"
#include "app/ConvertHelper.h"
#include "common/MessageText.h"
#include "dialog/QtDialogModule.h"
#include "platform/Console.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/SharedModule.h"

namespace {

constexpr std::string_view kNoDisplay =
    "Rulecast: no display is available for the dialog; two arguments, a rule-file pattern and a "
    "target folder, convert without a window.";
constexpr std::string_view kNoQt =
    "Rulecast: the dialog needs Qt 6, which could not be loaded ({reason}); two arguments, a "
    "rule-file pattern and a target folder, convert without a window.";

// Qt ends the process with an abort when it has no platform to show windows on.
bool HasDisplay()
{
    return CEnvironment::IsSet("DISPLAY") || CEnvironment::IsSet("WAYLAND_DISPLAY") ||
           CEnvironment::IsSet("QT_QPA_PLATFORM");
}

int RefuseWithoutQt(const std::string& reason)
{
    CConsole::Warn(MessageText(kNoQt, {{"reason", reason}}));
    CBatch::ShowUsage();
    return CBatch::kUsageError;
}

// Installed, the module lies in a folder of its own beside the program's; a build's program finds
// it, wherever a test copies the program to, on the search path the build gives it.
QtDialogEntry LoadDialog(CSharedModule& module)
{
    const std::string installed = CFileSystem::ExecutableFolder() + kQtDialogModuleFolder + kQtDialogModuleName;
    if (!module.Load(CFileSystem::EntryExists(installed) ? installed : kQtDialogModuleName))
        return nullptr;
    return reinterpret_cast<QtDialogEntry>(module.Function(kQtDialogEntryName));
}

}  // namespace

int RefuseWithoutDisplay()
{
    CConsole::Warn(kNoDisplay);
    CBatch::ShowUsage();
    return CBatch::kUsageError;
}

int RunMainDialog(const std::vector<std::string>& words, const std::string& ruleFile)
{
    if (!HasDisplay())
        return RefuseWithoutDisplay();
    CSharedModule module;
    const QtDialogEntry runDialog = LoadDialog(module);
    if (!runDialog)
        return RefuseWithoutQt(module.Error());
    return runDialog(words, ruleFile);
}
