#include "launcher/gui/program_threads.h"

#include <QCoreApplication>
#include <QWidget>

#include "game/zelvan1_start.h"
#include "gui_common/message_boxes.h"
#include "platform/platform.h"

namespace zv {

unsigned RunCommand(QWidget* owner, const std::string& commandLine, int showMode) {
    WidgetDialogs dialogs(owner);
    return RunCommand(static_cast<MessageDialogs&>(dialogs), commandLine, showMode);
}

bool TryCommand(QWidget* owner, const std::string& commandLine, int showMode) {
    WidgetDialogs dialogs(owner);
    return TryCommand(static_cast<MessageDialogs&>(dialogs), commandLine, showMode);
}

template <typename Call>
void UiThreadDialogs::OnUiThread(Call call) {
    QObject* context = QCoreApplication::instance();
    if (context == nullptr) return;
    if (QThread::currentThread() == context->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(context, call, Qt::BlockingQueuedConnection);
}

void UiThreadDialogs::ShowErrorDialog(const std::string& what, const std::string& failure,
                                      const std::string& detail) {
    OnUiThread([&] { zv::ShowErrorDialog(owner_, what, failure, detail); });
}

void UiThreadDialogs::ShowMsgBox(const std::string& title, const std::string& text) {
    OnUiThread([&] { zv::ShowMsgBox(owner_, title, text); });
}

bool UiThreadDialogs::AskYesNo(const std::string& title, const std::string& question) {
    bool answer = false;
    OnUiThread([&] { answer = zv::AskYesNo(owner_, title, question); });
    return answer;
}

void UiThreadDialogs::AskInputLine(const std::string& title, const std::string& label, std::string& value) {
    OnUiThread([&] { zv::AskInputLine(owner_, title, label, value); });
}

ThreadHelp::ThreadHelp() { start(); }

void ThreadHelp::run() { OpenDocument(HelpIndexPath(CurrentPlatform().InstallDir()), "", "", kShowNormal); }

ThreadZelvan1::ThreadZelvan1(QWidget* mainWindow) : mainWindow_(mainWindow) { start(); }

void ThreadZelvan1::run() {
    UiThreadDialogs dialogs(mainWindow_);
    ProcessHandle engine;
    if (StartZelvan1(dialogs, StartKind::DirectPlay, {}, &engine) > 0)
        CurrentProcessStarter().WaitForProcess(engine);
    // Queued, so that the end reaches the event loop even if it has not
    // started running yet.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
}

}  // namespace zv
