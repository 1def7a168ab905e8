#pragma once
// The viewer window: one picture shown at its natural size, scrolled when it
// is larger than the window.
#include <QWidget>

class QLabel;
class QScrollArea;

namespace zv::viewer {

class TViewForm : public QWidget {
    Q_OBJECT
public:
    explicit TViewForm(QWidget* parent = nullptr);

    // Gives the picture control its picture; it takes the picture's size.
    void SetPicture(const QImage& image);
    QImage Picture() const;
    // The scrolled range: the picture control's size.
    void SetScrollRange(int width, int height);
    QSize ScrollRange() const;
    // Sizes the window so that its client area is width x height, as far as
    // the screen allows; the rest is reached by scrolling.
    void SetClientSize(int width, int height);
    QSize ClientSize() const;
    // Shows the window, neither minimised nor maximised, in front.
    void ShowNormal();

private:
    QScrollArea* scroller_;
    QLabel* image1_;
};

}  // namespace zv::viewer
