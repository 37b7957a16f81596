#include <QApplication>
#include <QIcon>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "dialog/QtDialogModule.h"
#include "dialog/QtRulecastDlg.h"
#include "platform/Console.h"

namespace {

constexpr const char* kApplicationName = "Rulecast";
constexpr const char* kDesktopFileName = "rulecast";
constexpr std::chrono::seconds kDisplayPatience{5};
constexpr std::string_view kDisplaySilent = "Rulecast: the display did not answer within 5 seconds.";

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

// A display that takes the connection and never answers (a stopped X server, a tunnel to
// nowhere) would keep Qt's start waiting for ever: once the patience is spent, the process says so
// and ends as it does without a display. Let go of when the application has started.
class CDisplayWatch {
public:
    CDisplayWatch() : watcher_([this] { Watch(); }) {}
    ~CDisplayWatch()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            started_ = true;
        }
        startedSignal_.notify_one();
        watcher_.join();
    }

private:
    void Watch()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (startedSignal_.wait_for(lock, kDisplayPatience, [this] { return started_; }))
            return;
        CConsole::Warn(kDisplaySilent);
        std::_Exit(RefuseWithoutDisplay());
    }

    std::mutex mutex_;
    std::condition_variable startedSignal_;
    bool started_ = false;
    std::thread watcher_;
};

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
    std::optional<CDisplayWatch> watch(std::in_place);
    QApplication application(argc, argv.data());
    watch.reset();
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
