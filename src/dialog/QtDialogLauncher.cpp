#include "app/DialogLauncher.h"

#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/ConvertHelper.h"
#include "dialog/QtRulecastDlg.h"
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

// What Qt says while it starts, held until it is known whether it could: its own lines must not
// come before Rulecast's. Qt keeps handlers process-wide, so these are too.
// Each is held as Qt would have printed it.
QtMessageHandler handlerBeforeStart = nullptr;
std::vector<std::string> heldMessages;

void PassHeldMessages()
{
    for (const std::string& held : heldMessages)
        CConsole::Warn(held);
    heldMessages.clear();
}

int RefuseWithoutDisplay()
{
    CConsole::Warn(kNoDisplay);
    PassHeldMessages();
    CConvertHelper::ShowUsage();
    return CConvertHelper::kUsageError;
}

// A display that is named but does not answer, or a platform plugin that is not there, is
// found only while the application starts, and Qt ends the process with an abort right after
// its fatal message. That message is the one to replace: the user learns how to convert without
// a window, and the process ends with the usage-error status instead.
void StartMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        heldMessages.push_back(qFormatLogMessage(type, context, message).toStdString());
        return;
    }
    qInstallMessageHandler(handlerBeforeStart);
    std::_Exit(RefuseWithoutDisplay());
}

}  // namespace

int RunMainDialog(const std::vector<std::string>& words)
{
    if (!HasDisplay())
        return RefuseWithoutDisplay();
    // Qt keeps argc and argv for the application's lifetime; both live in this frame.
    std::vector<std::string> storage = words;
    std::vector<char*> argv;
    for (std::string& word : storage)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(storage.size());
    handlerBeforeStart = qInstallMessageHandler(StartMessageHandler);
    QApplication application(argc, argv.data());
    qInstallMessageHandler(handlerBeforeStart);
    PassHeldMessages();
    QApplication::setApplicationName(kApplicationName);
    QGuiApplication::setDesktopFileName(kDesktopFileName);
    CQtRulecastDlg dialog;
    QApplication::setWindowIcon(dialog.windowIcon());
    dialog.exec();
    return 0;
}
