#pragma once
// Drives a modal dialog from inside its exec(): once the dialog of type D is
// the active modal window, `act` runs on it. If no such dialog shows up, every
// visible dialog is closed so that the test fails instead of hanging.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

namespace zv::test {

template <typename D>
void WhenModal(std::function<void(D*)> act, int triesLeft = 200) {
    QTimer::singleShot(triesLeft == 200 ? 0 : 10, [act, triesLeft] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            act(dialog);
            return;
        }
        if (triesLeft > 0) {
            WhenModal<D>(act, triesLeft - 1);
            return;
        }
        ADD_FAILURE() << "the expected modal dialog did not appear";
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
                dialog->reject();
    });
}

}  // namespace zv::test
