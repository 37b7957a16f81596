#include "app/DialogLauncher.h"

#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <string_view>

#include "app/ConvertHelper.h"
#include "app/QtRulecastDlg.h"
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

int RunMainDialog(int argc, char** argv)
{
    if (!HasDisplay()) {
        CConsole::Warn(kNoDisplay);
        CConvertHelper::ShowUsage();
        return CConvertHelper::kUsageError;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationName);
    QGuiApplication::setDesktopFileName(kDesktopFileName);
    CQtRulecastDlg dialog;
    QApplication::setWindowIcon(dialog.windowIcon());
    dialog.exec();
    return 0;
}
