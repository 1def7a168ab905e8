#pragma once
// Driving modal dialogs in GUI tests: the action runs inside the dialog's
// exec() loop, once the dialog is there. Two ways to name it: WhenShown by
// the object name of a visible top-level window, WhenModal by the type of
// the active modal dialog. Both give up after a while (and close what is
// open), so that a test whose dialog never appears fails instead of hanging.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace zv::test {

inline QWidget* FindVisibleWindow(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible()) return widget;
    return nullptr;
}

template <typename T>
T* Child(QWidget* window, const char* name) {
    return window == nullptr ? nullptr : window->findChild<T*>(name);
}

// Polls the event loop every 10 ms until `find` gives a widget, then runs
// `act` on it and sets the returned flag; after 200 tries it runs `giveUp`
// instead.
inline std::shared_ptr<bool> WhenFound(std::function<QWidget*()> find, std::function<void(QWidget*)> act,
                                       std::function<void()> giveUp) {
    auto done = std::make_shared<bool>(false);
    auto tries = std::make_shared<int>(0);
    // The poll refers to itself only weakly: the pending timer holds it, so
    // it is freed once it stops rescheduling itself.
    auto poll = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> self = poll;
    *poll = [=]() {
        if (QWidget* widget = find()) {
            *done = true;
            act(widget);
            return;
        }
        if (++*tries > 200) {
            giveUp();
            return;
        }
        QTimer::singleShot(10, [next = self.lock()] { (*next)(); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
    return done;
}

// Schedules `action` for the next visible window named `name`. The flag
// tells whether it ran; when it never shows, the modal windows are closed.
inline std::shared_ptr<bool> WhenShown(const QString& name, std::function<void(QWidget*)> action) {
    return WhenFound([name] { return FindVisibleWindow(name); }, std::move(action),
                     [] {
                         for (int i = 0; i < 10; ++i)
                             if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
                     });
}

// Schedules `act` for the dialog of type D once it is the active modal
// window. When none shows up the test fails and every visible dialog is
// closed.
template <typename D>
void WhenModal(std::function<void(D*)> act) {
    WhenFound([]() -> QWidget* { return qobject_cast<D*>(QApplication::activeModalWidget()); },
              [act](QWidget* dialog) { act(static_cast<D*>(dialog)); },
              [] {
                  ADD_FAILURE() << "the expected modal dialog did not appear";
                  for (QWidget* widget : QApplication::topLevelWidgets())
                      if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
                          dialog->reject();
              });
}

}  // namespace zv::test
