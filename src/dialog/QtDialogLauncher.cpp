#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <vector>

#include "dialog/QtDialogModule.h"
#include "dialog/QtRulecastDlg.h"

namespace {

constexpr const char* kApplicationName = "Rulecast";
constexpr const char* kDesktopFileName = "rulecast";

// The handler that Qt had before start-up; Qt keeps handlers process-wide, so this one is too.
QtMessageHandler handlerBeforeStart = nullptr;

// A display that is named but does not answer, or a platform plugin that is not there, is
// found only while the application starts, and Qt ends the process with an abort right after
// its fatal message. That message is the one to replace: the user learns how to convert without
// a window, and the process ends with the usage-error status instead.
void StartMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        if (handlerBeforeStart)
            handlerBeforeStart(type, context, message);
        return;
    }
    std::_Exit(RefuseWithoutDisplay());
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
    QApplication::setApplicationName(kApplicationName);
    QGuiApplication::setDesktopFileName(kDesktopFileName);
    CQtRulecastDlg dialog;
    QApplication::setWindowIcon(dialog.windowIcon());
    dialog.OpenWith(ruleFile);
    dialog.exec();
    return 0;
}
