// pad: record analyser. Opens the .fu record named by its argument (a record
// of the engines) and shows a readable summary, each hand with its winning
// hands, yaku, fu and han, and the review of the player's discards (seat 0,
// or the seat of --seat): shanten, acceptance against the best discard and
// safety against riichi, summed up per hand and per game. Without an
// argument it opens empty and offers to open a file.
//
// With ZV_ENGINE_AUTOPLAY set it prints the summary and the review to stdout
// instead of opening a window (exit 0 when the file was read).
#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/file_io.h"
#include "format/game_record.h"
#include "format/mjai_export.h"
#include "format/record_analysis.h"
#include "qtcommon/engine_widgets.h"

namespace {

using namespace zv::engine;

const char* kTitle = "麻雀  牌譜の分析";

// The summary and the review of a record file, or nothing with `error` set.
bool Summarize(const std::string& path, int seat, std::vector<std::string>& lines,
               std::vector<std::string>& review, std::string& error) {
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
    review = ReviewRecord(record, seat);
    return true;
}

class PadWindow : public QWidget {
public:
    explicit PadWindow(int seat) : seat_(seat) {
        setObjectName("PadWindow");
        setWindowTitle(QString::fromUtf8(kTitle));
        resize(720, 540);
        auto* root = new QVBoxLayout(this);
        auto* note = new QLabel(
            QString::fromUtf8("牌譜 (.fu) の概要と打牌の分析を表示します: 各局の和了形、役、符と翻、"
                              "最終成績、向聴数と受入枚数、リーチに対する安全度。"),
            this);
        note->setObjectName("GameNote");
        note->setStyleSheet("color: #a00000;");
        root->addWidget(note);
        auto* tabs = new QTabWidget(this);
        tabs->setObjectName("Pages");
        auto page = [&](const char* name, const char* caption) {
            auto* text = new QPlainTextEdit(tabs);
            text->setObjectName(name);
            text->setReadOnly(true);
            text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
            tabs->addTab(text, QString::fromUtf8(caption));
            return text;
        };
        text_ = page("Summary", "概要");
        review_ = page("Review", "打牌の分析");
        root->addWidget(tabs, 1);
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
        std::vector<std::string> lines, review;
        std::string error;
        if (Summarize(path, seat_, lines, review, error)) {
            text_->setPlainText(JoinLines(lines));
            review_->setPlainText(JoinLines(review));
            setWindowTitle(QString::fromUtf8(kTitle) + " - " + Q(path));
        } else {
            text_->setPlainText(Q(error));
            review_->clear();
        }
    }

private:
    int seat_ = 0;
    QPlainTextEdit* text_ = nullptr;
    QPlainTextEdit* review_ = nullptr;
};

struct PadArgs {
    std::string file;
    int seat = 0;
    std::string exportFormat;  // "mjai" with --export
    int game = 1;              // the game to export, counted from 1
    std::string error;
};

PadArgs ParseArgs(const std::vector<std::string>& args) {
    PadArgs out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                out.error = a + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        auto number = [&](int low, int high, int& into) {
            std::string text;
            if (!value(text)) return;
            char* end = nullptr;
            long n = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || n < low || n > high)
                out.error = a + " takes a number from " + std::to_string(low) + " to " + std::to_string(high);
            else
                into = static_cast<int>(n);
        };
        if (a == "--seat") {
            number(0, 3, out.seat);
        } else if (a == "--game") {
            number(1, 1000000, out.game);
        } else if (a == "--export") {
            if (value(out.exportFormat) && out.exportFormat != "mjai")
                out.error = "unknown export format \"" + out.exportFormat + "\" (only mjai)";
        } else if (out.file.empty()) {
            out.file = a;
        } else {
            std::fprintf(stderr, "pad: only the first file is opened\n");
        }
        if (!out.error.empty()) break;
    }
    return out;
}

// Writes the mjai events of one game of the record to stdout.
int ExportMjai(const PadArgs& args) {
    auto text = zv::ReadTextFile(args.file);
    if (!text) {
        std::fprintf(stderr, "pad: %s: cannot read the record file\n", args.file.c_str());
        return 1;
    }
    RecordFile record = ParseRecord(*text);
    if (args.game > static_cast<int>(record.games.size())) {
        std::fprintf(stderr, "pad: %s: there is no game %d in the record\n", args.file.c_str(), args.game);
        return 1;
    }
    std::vector<std::string> lines;
    std::string error;
    if (!MjaiLines(record.games[static_cast<std::size_t>(args.game - 1)], lines, error)) {
        std::fprintf(stderr, "pad: %s: %s\n", args.file.c_str(), error.c_str());
        return 1;
    }
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-help" || args[0] == "-?")) {
        std::printf(
            "pad - record analyser of riichi mahjong games: shows a summary of a game\n"
            "record (.fu): each hand's end, winning hands, yaku, fu and han, and the totals,\n"
            "and reviews the player's discards: shanten before and after, the acceptance of\n"
            "the discard against the best one, safety against riichi.\n"
            "usage: pad [--seat N] [RECORD.fu]\n"
            "       pad --export mjai [--game N] RECORD.fu   (mjai JSON lines on stdout)\n"
            "  --seat N   the seat whose discards are reviewed (0..3, default 0: the player)\n"
            "  --game N   the game of the record to export (default 1)\n"
            "environment: ZV_ENGINE_AUTOPLAY set prints the summary instead of a window\n");
        return 0;
    }
    PadArgs parsed = ParseArgs(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "pad: %s\n", parsed.error.c_str());
        return 2;
    }
    if (!parsed.exportFormat.empty()) {
        if (parsed.file.empty()) {
            std::fprintf(stderr, "pad: no record file given\n");
            return 2;
        }
        return ExportMjai(parsed);
    }
    const char* headless = std::getenv("ZV_ENGINE_AUTOPLAY");
    if (headless != nullptr && *headless != '\0') {
        if (parsed.file.empty()) {
            std::fprintf(stderr, "pad: no record file given\n");
            return 2;
        }
        std::vector<std::string> lines, review;
        std::string error;
        if (!Summarize(parsed.file, parsed.seat, lines, review, error)) {
            std::fprintf(stderr, "pad: %s\n", error.c_str());
            return 1;
        }
        for (const auto& line : lines) std::printf("%s\n", line.c_str());
        for (const auto& line : review) std::printf("%s\n", line.c_str());
        return 0;
    }
    QApplication app(argc, argv);
    PadWindow window(parsed.seat);
    if (!parsed.file.empty()) window.Load(parsed.file);
    window.show();
    return app.exec();
}
