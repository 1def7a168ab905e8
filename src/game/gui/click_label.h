#pragma once
// A label that reports mouse clicks: the server address and the character
// pictures of the network dialogs act on a click like a button.
#include <QLabel>

namespace zv {

class TClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit TClickLabel(QWidget* parent = nullptr);

signals:
    // A left press released over the label.
    void clicked();
    // The second press of a double click; the first one has already been
    // reported as a click.
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace zv
