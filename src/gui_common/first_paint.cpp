#include "gui_common/first_paint.h"

#include <QEvent>
#include <QTimer>
#include <utility>
#include <vector>

namespace zv {
namespace {

// Object name of the watch, by which a window's watch is found again.
const QString kWatchName = QStringLiteral("FirstPaintWatch");

// Watches one window for its first paint and then runs the actions given for
// it in the order they were given, and goes away. An action also runs when
// its own time limit passes first; each runs once.
class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(QWidget* window) : QObject(window) {
        setObjectName(kWatchName);
        window->installEventFilter(this);
    }

    void Add(std::function<void()> action, std::chrono::milliseconds latest) {
        auto index = actions_.size();
        actions_.push_back(std::move(action));
        QTimer::singleShot(latest, this, [this, index] { RunOne(index); });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // Posted, so that the window and its children finish painting first.
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            parent()->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                for (std::size_t i = 0; i < actions_.size(); ++i) RunOne(i);
                deleteLater();  // later actions wait for the next paint
            });
        }
        return false;
    }

private:
    void RunOne(std::size_t index) {
        auto action = std::exchange(actions_[index], nullptr);
        if (action) action();
    }

    std::vector<std::function<void()>> actions_;
    bool painted_ = false;
};

}  // namespace

void AfterFirstPaint(QWidget* window, std::function<void()> action, std::chrono::milliseconds latest) {
    // Only a FirstPaintWatch carries that name among the window's children.
    auto* watch =
        static_cast<FirstPaintWatch*>(window->findChild<QObject*>(kWatchName, Qt::FindDirectChildrenOnly));
    if (watch == nullptr) watch = new FirstPaintWatch(window);
    watch->Add(std::move(action), latest);
}

}  // namespace zv
