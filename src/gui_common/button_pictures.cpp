#include "gui_common/button_pictures.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <functional>
#include <map>
#include <utility>

namespace zv {
namespace {

// Every picture is drawn on a 100 x 100 canvas and rendered at the sizes the
// buttons ask for.
using Drawing = std::function<void(QPainter&)>;

const QColor kInk(0x33, 0x3d, 0x47);
const QColor kTable(0x2e, 0x7d, 0x4f);
const QColor kTableEdge(0x1d, 0x55, 0x35);
const QColor kIvory(0xfb, 0xf6, 0xe6);
const QColor kRed(0xc6, 0x28, 0x28);
const QColor kBlue(0x2b, 0x5f, 0x9e);

QPen Outline(double width = 5) { return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// Draws a picture only when a size of it is asked for, at exactly that size,
// and keeps what it drew: the windows show each picture at one size, and
// drawing every size up front slowed the start. Disabled and other modes are
// derived from the normal picture by the style, as for any icon.
class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(Drawing draw) : draw_(std::move(draw)) {}

    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        qreal scale = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        int side = std::max(1, static_cast<int>(std::min(size.width(), size.height()) * scale));
        QPixmap& normal = drawn_[side];
        if (normal.isNull()) normal = Draw(side);
        QPixmap result = normal;
        if (mode != QIcon::Normal && mode != QIcon::Active) {
            QStyleOption option;
            option.palette = QApplication::palette();
            result = QApplication::style()->generatedIconPixmap(mode, normal, &option);
        }
        result.setDevicePixelRatio(scale);
        return result;
    }

private:
    QPixmap Draw(int side) const {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / 100.0, side / 100.0);
        draw_(painter);
        return pixmap;
    }

    Drawing draw_;
    std::map<int, QPixmap> drawn_;  // by side in device pixels
};

QIcon Render(Drawing draw) { return QIcon(new DrawnIconEngine(std::move(draw))); }

void Tile(QPainter& p, QRectF rect, double outline = 3) {
    p.setPen(Outline(outline));
    p.setBrush(kIvory);
    p.drawRoundedRect(rect, rect.width() * 0.18, rect.width() * 0.18);
}

// A row of `count` small tiles starting at (x, y), along x or along y.
void TileRow(QPainter& p, double x, double y, int count, double w, double h, bool vertical) {
    for (int i = 0; i < count; ++i) {
        QRectF rect = vertical ? QRectF(x, y + i * w, h, w) : QRectF(x + i * w, y, w, h);
        Tile(p, rect, 1.5);
    }
}

void TableCloth(QPainter& p, QRectF rect) {
    p.setPen(QPen(kTableEdge, 4));
    p.setBrush(kTable);
    p.drawRoundedRect(rect, 6, 6);
}

// Screen layouts: the player's own hand along the bottom, the others' seats
// as panels; the "4" layouts show the whole table with four hands.
void ScreenLayout(QPainter& p, double inset) {
    QRectF screen(6 + inset, 14 + inset, 88 - 2 * inset, 72 - 2 * inset);
    TableCloth(p, screen);
    double w = screen.width() / 9.0;
    TileRow(p, screen.left() + w * 0.5, screen.bottom() - w * 1.9, 8, w, w * 1.4, false);
    p.setPen(Qt::NoPen);
    p.setBrush(kIvory.darker(115));
    double panel = screen.width() * 0.26;
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(
            QRectF(screen.left() + w * 0.5 + i * (panel + w * 0.35), screen.top() + w * 0.6, panel, w * 1.3),
            2, 2);
}

void TableLayout(QPainter& p, double inset) {
    QRectF table(8 + inset, 8 + inset, 84 - 2 * inset, 84 - 2 * inset);
    TableCloth(p, table);
    double w = table.width() / 9.0, h = w * 1.3;
    double start = table.left() + w * 1.5;
    TileRow(p, start, table.bottom() - h - w * 0.3, 6, w, h, false);
    TileRow(p, start, table.top() + w * 0.3, 6, w, h, false);
    TileRow(p, table.left() + w * 0.3, table.top() + w * 1.5, 6, w, h, true);
    TileRow(p, table.right() - h - w * 0.3, table.top() + w * 1.5, 6, w, h, true);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(table.center(), w * 0.6, w * 0.6);
}

void Paper(QPainter& p, QRectF rect) {
    p.setPen(Outline(4));
    p.setBrush(kIvory);
    p.drawRoundedRect(rect, 5, 5);
}

void Lines(QPainter& p, double x, double y, double width, int count, double step) {
    p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < count; ++i) p.drawLine(QPointF(x, y + i * step), QPointF(x + width, y + i * step));
}

void DrawRule(QPainter& p) {
    Paper(p, QRectF(18, 8, 64, 84));
    Lines(p, 44, 28, 28, 4, 16);
    p.setPen(QPen(kRed, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int i = 0; i < 4; ++i) {
        double y = 28 + i * 16;
        p.drawPolyline(QPolygonF({QPointF(27, y - 1), QPointF(31, y + 4), QPointF(38, y - 6)}));
    }
}

void DrawCharacter(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kTable);
    p.drawRoundedRect(QRectF(16, 62, 68, 34), 16, 16);
    p.setBrush(kIvory);
    p.drawEllipse(QPointF(50, 38), 25, 27);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(41, 36), 4, 5);
    p.drawEllipse(QPointF(59, 36), 4, 5);
    p.setPen(QPen(kRed, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(38, 40, 24, 14), 200 * 16, 140 * 16);
}

void DrawBook(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kIvory);
    QPainterPath left, right;
    left.moveTo(50, 26);
    left.cubicTo(38, 18, 20, 18, 8, 22);
    left.lineTo(8, 82);
    left.cubicTo(20, 78, 38, 78, 50, 86);
    left.closeSubpath();
    right.moveTo(50, 26);
    right.cubicTo(62, 18, 80, 18, 92, 22);
    right.lineTo(92, 82);
    right.cubicTo(80, 78, 62, 78, 50, 86);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(kTable, 4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        p.drawLine(QPointF(17, 38 + i * 13), QPointF(41, 38 + i * 13));
        p.drawLine(QPointF(59, 38 + i * 13), QPointF(83, 38 + i * 13));
    }
}

void DrawHelp(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kTable);
    p.drawEllipse(QPointF(50, 50), 42, 42);
    QFont font;
    font.setBold(true);
    font.setPixelSize(62);
    p.setFont(font);
    p.setPen(kIvory);
    p.drawText(QRectF(8, 8, 84, 84), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawRecord(QPainter& p) {
    Paper(p, QRectF(10, 14, 80, 72));
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < 5; ++i) Tile(p, QRectF(18 + i * 13, 24 + row * 19, 11, 14), 2);
    p.setPen(QPen(kRed, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 82), QPointF(82, 82));
}

void DrawSound(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kInk);
    p.drawEllipse(QPointF(30, 74), 13, 10);
    p.drawEllipse(QPointF(72, 64), 13, 10);
    p.setPen(QPen(kInk, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(42, 72), QPointF(42, 18), QPointF(84, 10), QPointF(84, 62)}));
    p.setPen(QPen(kRed, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(42, 30), QPointF(84, 22));
}

void DrawMachine(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kIvory);
    p.drawRoundedRect(QRectF(10, 14, 80, 56), 6, 6);
    p.setBrush(kTable);
    p.drawRect(QRectF(18, 22, 64, 40));
    p.setBrush(kIvory);
    p.drawRect(QRectF(40, 70, 20, 10));
    p.drawRoundedRect(QRectF(24, 80, 52, 8), 3, 3);
}

// The board setup: a small table with a red pencil across it.
void DrawBoardSetup(QPainter& p) {
    TableLayout(p, 10);
    p.save();
    p.translate(66, 64);
    p.rotate(-45);
    p.setPen(Outline(4));
    p.setBrush(kRed);
    p.drawRect(QRectF(-30, -8, 48, 16));
    p.setBrush(kIvory);
    p.drawPolygon(QPolygonF({QPointF(18, -8), QPointF(34, 0), QPointF(18, 8)}));
    p.restore();
}

void DrawAbout(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(50, 50), 42, 42);
    p.setPen(Qt::NoPen);
    p.setBrush(kIvory);
    p.drawEllipse(QPointF(50, 30), 7, 7);
    p.drawRoundedRect(QRectF(43, 44, 14, 36), 4, 4);
}

}  // namespace

QIcon LayoutPicture(const std::string& layout) {
    if (layout == "small") return Render([](QPainter& p) { ScreenLayout(p, 9); });
    if (layout == "large4") return Render([](QPainter& p) { TableLayout(p, 0); });
    if (layout == "small4") return Render([](QPainter& p) { TableLayout(p, 9); });
    return Render([](QPainter& p) { ScreenLayout(p, 0); });
}

QIcon ExtensionArrowPicture(bool vertical) {
    return Render([vertical](QPainter& p) {
        if (vertical) {
            p.translate(100, 0);
            p.rotate(90);
        }
        p.setPen(Outline(9));
        p.setBrush(Qt::NoBrush);
        for (double x : {22.0, 52.0}) p.drawPolyline(QPolygonF({{x, 24}, {x + 24, 50}, {x, 76}}));
    });
}

QIcon LauncherButtonPicture(const std::string& component) {
    if (component == "RuleButton") return Render(DrawRule);
    if (component == "ZvInstall") return Render(DrawBoardSetup);
    if (component == "CharButton") return Render(DrawCharacter);
    if (component == "WakeRulebook") return Render(DrawBook);
    if (component == "WakeHelp") return Render(DrawHelp);
    if (component == "haifuswbutton") return Render(DrawRecord);
    if (component == "SoundButton") return Render(DrawSound);
    if (component == "UnameButton") return Render(DrawMachine);
    if (component == "About") return Render(DrawAbout);
    return QIcon();
}

}  // namespace zv
