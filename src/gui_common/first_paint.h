#pragma once
// Work that can wait until a window is on screen: the action runs once, from
// the event loop, just after the window's first paint, or after `latest` if
// the window has not been painted by then (a window that is never exposed,
// say on another desktop, must not hold it back for ever). Actions given for
// the same window run in the order they were given.
#include <QWidget>
#include <chrono>
#include <functional>

namespace zv {

void AfterFirstPaint(QWidget* window, std::function<void()> action,
                     std::chrono::milliseconds latest = std::chrono::milliseconds(1000));

}  // namespace zv
