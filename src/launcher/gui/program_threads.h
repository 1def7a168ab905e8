#pragma once
// Starting programs from windows, and the two threads that keep the user
// interface responsive: one opens the help pages, the other starts the
// one-player engine for direct play, waits for it and then ends the launcher.
#include <QThread>
#include <string>

#include "config/message_dialogs.h"
#include "start/program_start.h"

class QWidget;

namespace zv {

// RunCommand and TryCommand with their questions and reports owned by a window.
unsigned RunCommand(QWidget* owner, const std::string& commandLine, int showMode);
bool TryCommand(QWidget* owner, const std::string& commandLine, int showMode);

// Dialogs asked for from another thread: each call runs the owner's dialogs
// on the user-interface thread and waits for the answer.
class UiThreadDialogs : public MessageDialogs {
public:
    explicit UiThreadDialogs(QWidget* owner) : owner_(owner) {}
    void ShowErrorDialog(const std::string& what, const std::string& failure,
                         const std::string& detail) override;
    void ShowMsgBox(const std::string& title, const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& question) override;
    void AskInputLine(const std::string& title, const std::string& label, std::string& value) override;

private:
    template <typename Call>
    void OnUiThread(Call call);
    QWidget* owner_;
};

// Opens help/index.html of the installation; starts running when created.
class ThreadHelp : public QThread {
    Q_OBJECT
public:
    ThreadHelp();

protected:
    void run() override;
};

// Direct play: starts the one-player engine with the settings' opponents,
// waits for it without time limit and then quits the application's event
// loop on the user-interface thread. An engine that cannot be started is
// reported (on the user-interface thread) before the launcher ends. Starts
// running when created.
class ThreadZelvan1 : public QThread {
    Q_OBJECT
public:
    explicit ThreadZelvan1(QWidget* mainWindow);

protected:
    void run() override;

private:
    QWidget* mainWindow_;
};

}  // namespace zv
