#include "qtcommon/engine_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <QColor>
#include <QFont>
#include <QPainter>

namespace zv::engine {

QPixmap FacePixmap(const std::string& path, const std::string& name, int size) {
    QPixmap picture;
    if (!path.empty() && picture.load(Q(path)) && !picture.isNull())
        return picture.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap placeholder(size, size);
    std::size_t hash = std::hash<std::string>{}(name);
    placeholder.fill(QColor::fromHsv(static_cast<int>(hash % 360), 90, 220));
    QPainter painter(&placeholder);
    QFont font = painter.font();
    font.setPixelSize(size / 2);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size - 1, size - 1);
    QString text = Q(name);
    while (text.startsWith('_')) text.remove(0, 1);
    painter.drawText(placeholder.rect(), Qt::AlignCenter, text.left(1).toUpper());
    return placeholder;
}

QString JoinLines(const std::vector<std::string>& lines) {
    QString text;
    for (const auto& line : lines) {
        if (!text.isEmpty()) text += '\n';
        text += Q(line);
    }
    return text;
}

QString ComputerSeatNote() {
    return QString::fromUtf8(
        "ルールどおりに牌を配って一局ずつ打ちます。この画面には卓を表示できないため、"
        "あなたの席はあなたのキャラクタ設定 (なければ標準の設定) "
        "でコンピュータが打ち、結果だけを表示します。");
}

void PrintWarnings(const char* program, const std::vector<std::string>& warnings) {
    for (const auto& warning : warnings) std::fprintf(stderr, "%s: %s\n", program, warning.c_str());
}

int ReportStartFailure(int argc, char** argv, const char* program, const char* title,
                       const std::string& error, void (*printUsage)(std::FILE*), bool badOptions,
                       int autoplay) {
    std::fprintf(stderr, "%s: %s\n", program, error.c_str());
    if (badOptions) printUsage(stderr);
    if (autoplay == 0) {
        QApplication app(argc, argv);
        QMessageBox::critical(nullptr, QString::fromUtf8("麻雀  エラー"),
                              QString::fromUtf8(title) + "\n" + Q(error));
    }
    return 2;
}

void ShowNotice(QWidget* parent, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromUtf8("麻雀  お知らせ"), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& question) {
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName("EngineYesNoBox");
    box.button(QMessageBox::Yes)->setText(QString::fromUtf8("はい"));
    box.button(QMessageBox::No)->setText(QString::fromUtf8("いいえ"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace zv::engine
