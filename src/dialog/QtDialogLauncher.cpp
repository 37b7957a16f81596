#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/QtDialogModule.h"
#include "dialog/QtRulecastDlg.h"
#include "platform/Console.h"

namespace {

constexpr const char* kApplicationName = "Rulecast";
constexpr const char* kDesktopFileName = "rulecast";

// What Qt says while it starts, held until it is known whether it could: its own lines must not
// come before Rulecast's. Qt keeps handlers process-wide, so these are too. Each is held as Qt
// would have printed it.
QtMessageHandler handlerBeforeStart = nullptr;
std::vector<std::string> heldMessages;

void PassHeldMessages()
{
    for (const std::string& held : heldMessages)
        CConsole::Warn(held);
    heldMessages.clear();
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
    const int status = RefuseWithoutDisplay();
    PassHeldMessages();
    std::_Exit(status);
}

}  // namespace

extern "C" int RulecastRunQtDialog(const std::vector<std::string>& words, const std::string& ruleFile)
{
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
    dialog.OpenWith(ruleFile);
    dialog.exec();
    return 0;
}
