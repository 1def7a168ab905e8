#pragma once
// Runs the event loop until a condition holds or a time limit passes; true
// when the condition came to hold.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace zv::test {

inline bool ProcessEventsUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace zv::test
