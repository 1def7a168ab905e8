// pad: record analyser. Opens the .fu record named by its argument (a record
// of the engines) and shows a readable summary, each hand with its winning
// hands, yaku, fu and han; without an argument it opens empty and offers to
// open a file.
//
// With ZV_ENGINE_AUTOPLAY set it prints the summary to stdout instead of
// opening a window (exit 0 when the file was read).
#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/file_io.h"
#include "engine_widgets.h"
#include "game_record.h"

namespace {

using namespace zv::engine;

const char* kTitle = "麻雀  牌譜の分析";

// The summary of a record file, or nothing with `error` set.
bool Summarize(const std::string& path, std::vector<std::string>& lines, std::string& error) {
    auto text = zv::ReadTextFile(path);
    if (!text) {
        error = path + ": cannot read the record file";
        return false;
    }
    RecordFile record = ParseRecord(*text);
    if (record.games.empty()) {
        error = path + ": no game found (not a record of the engines?)";
        return false;
    }
    lines = SummarizeRecord(record);
    lines.insert(lines.begin(), path);
    return true;
}

class PadWindow : public QWidget {
public:
    PadWindow() {
        setObjectName("PadWindow");
        setWindowTitle(QString::fromUtf8(kTitle));
        resize(720, 540);
        auto* root = new QVBoxLayout(this);
        auto* note =
            new QLabel(QString::fromUtf8(
                           "牌譜 (.fu) の概要を表示します: 各局の和了形、役、符と翻、ドラ表示牌、最終成績。"),
                       this);
        note->setObjectName("GameNote");
        note->setStyleSheet("color: #a00000;");
        root->addWidget(note);
        text_ = new QPlainTextEdit(this);
        text_->setObjectName("Summary");
        text_->setReadOnly(true);
        text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        root->addWidget(text_, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        auto* open = new QPushButton(QString::fromUtf8("開く"), this);
        open->setObjectName("OpenButton");
        auto* close = new QPushButton(QString::fromUtf8("閉じる"), this);
        close->setObjectName("CloseButton");
        buttons->addWidget(open);
        buttons->addWidget(close);
        root->addLayout(buttons);
        connect(open, &QPushButton::clicked, this, [this] {
            QString file =
                QFileDialog::getOpenFileName(this, QString::fromUtf8("牌譜ﾌｧｲﾙの参照"), QString(),
                                             QString::fromUtf8("牌譜ﾌｧｲﾙ (*.fu);;すべてのﾌｧｲﾙ (*)"));
            if (!file.isEmpty()) Load(file.toStdString());
        });
        connect(close, &QPushButton::clicked, this, &QWidget::close);
    }

    void Load(const std::string& path) {
        std::vector<std::string> lines;
        std::string error;
        if (Summarize(path, lines, error)) {
            text_->setPlainText(JoinLines(lines));
            setWindowTitle(QString::fromUtf8(kTitle) + " - " + Q(path));
        } else {
            text_->setPlainText(Q(error));
        }
    }

private:
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-help" || args[0] == "-?")) {
        std::printf(
            "pad - record analyser of riichi mahjong games: shows a summary of a game\n"
            "record (.fu): each hand's end, winning hands, yaku, fu and han, and the totals.\n"
            "usage: pad [RECORD.fu]\n"
            "environment: ZV_ENGINE_AUTOPLAY set prints the summary instead of a window\n");
        return 0;
    }
    if (args.size() > 1) std::fprintf(stderr, "pad: only the first file is opened\n");
    const char* headless = std::getenv("ZV_ENGINE_AUTOPLAY");
    if (headless != nullptr && *headless != '\0') {
        if (args.empty()) {
            std::fprintf(stderr, "pad: no record file given\n");
            return 2;
        }
        std::vector<std::string> lines;
        std::string error;
        if (!Summarize(args[0], lines, error)) {
            std::fprintf(stderr, "pad: %s\n", error.c_str());
            return 1;
        }
        for (const auto& line : lines) std::printf("%s\n", line.c_str());
        return 0;
    }
    QApplication app(argc, argv);
    PadWindow window;
    if (!args.empty()) window.Load(args[0]);
    window.show();
    return app.exec();
}
