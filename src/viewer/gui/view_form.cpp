#include "viewer/gui/view_form.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "viewer/picture_rules.h"

namespace zv::viewer {

TViewForm::TViewForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ViewForm"));
    setWindowTitle(QString::fromUtf8(kViewerTitle));

    scroller_ = new QScrollArea(this);
    scroller_->setObjectName(QStringLiteral("ViewScroller"));
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(false);
    scroller_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroller_->setMinimumSize(0, 0);

    image1_ = new QLabel;
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image1_->setContentsMargins(0, 0, 0, 0);
    image1_->resize(0, 0);
    scroller_->setWidget(image1_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroller_);
    setMinimumSize(1, 1);
}

void TViewForm::SetPicture(const QImage& image) {
    image1_->setPixmap(QPixmap::fromImage(image));
    image1_->resize(image.size());
}

QImage TViewForm::Picture() const { return image1_->pixmap().toImage(); }

void TViewForm::SetScrollRange(int width, int height) {
    image1_->resize(std::max(width, 0), std::max(height, 0));
}

QSize TViewForm::ScrollRange() const { return image1_->size(); }

void TViewForm::SetClientSize(int width, int height) {
    QSize wanted(std::max(width, 1), std::max(height, 1));
    // A window larger than the screen could not be moved or closed easily;
    // keep it on the screen (leaving room for its frame) and let it scroll.
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QSize room = screen->availableGeometry().size() - QSize(16, 48);
        wanted = wanted.boundedTo(room.expandedTo(QSize(1, 1)));
    }
    resize(wanted);
}

QSize TViewForm::ClientSize() const { return size(); }

void TViewForm::ShowNormal() {
    setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)));
    show();
    raise();
    activateWindow();
}

}  // namespace zv::viewer
