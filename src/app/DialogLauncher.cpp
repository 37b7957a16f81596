#include "app/DialogLauncher.h"

#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "app/ConvertHelper.h"
#include "app/RulecastDlg.h"
#include "platform/Console.h"

namespace {

constexpr std::string_view kNoDisplay =
    "Rulecast: no display is available for the dialog; two arguments, a rule-file pattern and a "
    "target folder, convert without a window.";
constexpr const char* kApplicationName = "Rulecast";
constexpr const char* kDesktopFileName = "rulecast";

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt ends the process with an abort when it has no platform to show windows on.
bool HasDisplay()
{
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

}  // namespace

int RunMainDialog(const std::vector<std::string>& words)
{
    if (!HasDisplay()) {
        CConsole::Warn(kNoDisplay);
        CConvertHelper::ShowUsage();
        return CConvertHelper::kUsageError;
    }
    // Qt keeps argc and argv for the application's lifetime; both live in this frame.
    std::vector<std::string> storage = words;
    std::vector<char*> argv;
    for (std::string& word : storage)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(storage.size());
    QApplication application(argc, argv.data());
    QApplication::setApplicationName(kApplicationName);
    QGuiApplication::setDesktopFileName(kDesktopFileName);
    CRulecastDlg dialog;
    QApplication::setWindowIcon(dialog.windowIcon());
    dialog.exec();
    return 0;
}
