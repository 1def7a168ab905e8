#pragma once
// Driving modal dialogs in GUI tests: the action runs inside the dialog's
// exec() loop, once a visible top-level widget with the object name exists.
// Gives up (and closes every modal window) after a while, so that a test
// whose dialog never appears fails instead of hanging.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

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

// Schedules `action` for the next visible window named `name`. The flag
// tells whether it ran.
inline std::shared_ptr<bool> WhenShown(const QString& name, std::function<void(QWidget*)> action) {
    auto done = std::make_shared<bool>(false);
    auto tries = std::make_shared<int>(0);
    // The poll refers to itself only weakly: the pending timer holds it, so
    // it is freed once it stops rescheduling itself.
    auto poll = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> self = poll;
    *poll = [=]() {
        if (QWidget* window = FindVisibleWindow(name)) {
            *done = true;
            action(window);
            return;
        }
        if (++*tries > 200) {
            for (int i = 0; i < 10; ++i)
                if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            return;
        }
        QTimer::singleShot(10, [next = self.lock()] { (*next)(); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
    return done;
}

}  // namespace zv::test
