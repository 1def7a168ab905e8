#include "game/gui/click_label.h"

#include <QMouseEvent>

namespace zv {

TClickLabel::TClickLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

void TClickLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    bool wasPressed = pressed_;
    pressed_ = false;
    event->accept();
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The release that follows is not another click.
    pressed_ = false;
    event->accept();
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

}  // namespace zv
