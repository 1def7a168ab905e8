// zelvan1 / rzelvan1: STAND-IN one-player game. No tiles are played: a game
// is a seeded random outcome that respects the rules file zelvan1.pf (start
// score, game length, chips, placement bonus). The window shows the players,
// their faces and the rules, and plays a game on request; each game appends
// a "result:" and a "yaku:" line to <-B>/<-n>.res and rewrites the -l record.
//
// ZV_ENGINE_AUTOPLAY=N plays N games without any window and exits.
#include <QApplication>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "engine_widgets.h"
#include "game_record.h"
#include "one_player.h"
#include "platform/platform.h"

namespace {

using namespace zv::engine;

#ifdef ZV_REAL_TILES
const char* kProgram = "rzelvan1";
const char* kTitle = "麻雀  ひとり遊び (リアル牌) [代用エンジン]";
#else
const char* kProgram = "zelvan1";
const char* kTitle = "麻雀  ひとり遊び [代用エンジン]";
#endif

void PrintUsage(std::FILE* out) {
    std::fprintf(
        out,
        "%s - STAND-IN one-player game engine (no real mahjong: each game is a\n"
        "seeded random outcome that respects the rules file zelvan1.pf).\n"
        "\n"
        "usage: %s -B \"DIR\" -n NAME [-c] [-T LAYOUT] -u OPP -u OPP -u OPP [-Q|-H] [-l \"RECORD\"]\n"
        "  -B DIR     the player's directory: zelvan1.pf and sound.nuc are read,\n"
        "             NAME.res is appended there\n"
        "  -n NAME    the player's name;  -c  computer opponents (always)\n"
        "  -T LAYOUT  small (640x480), small4, large (800x600), large4 (1024x768)\n"
        "  -u NAME    an opponent character (usr/NAME/NAME.pf beside the program)\n"
        "  -Q / -H    east round only / east and south rounds (default: zelvan1.pf)\n"
        "  -l FILE    write the game record (the folder must exist)\n"
        "environment: ZV_ENGINE_AUTOPLAY=N plays N games without a window and exits;\n"
        "             ZV_ENGINE_SEED=S makes the games repeatable\n",
        kProgram, kProgram);
}

std::string PlaceWord(int place) {
    static const char* words[] = {"", "sound_1st", "sound_2nd", "sound_3rd", "sound_4th"};
    return place >= 1 && place <= 4 ? words[place] : "sound_gameend";
}

// The text shown after a game: its hands and the final standings, as the
// record analyser shows them.
std::vector<std::string> GameText(OnePlayerGame& game) {
    RecordFile record;
    auto lines = RecordLines(game.gamesPlayed(), kProgram, game.rules(), game.seats(), game.lastGame());
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    record = ParseRecord(text);
    auto summary = SummarizeRecord(record);
    if (!summary.empty()) summary.erase(summary.begin());  // the file heading
    return summary;
}

int Autoplay(OnePlayerGame& game, int count) {
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        std::string problem = game.PlayOne(ChooseSeed() + static_cast<std::uint64_t>(i));
        const PlayerStats& me = game.lastGame().players[0];
        std::printf("%s: game %d: place %d, score %d, points %d\n", kProgram, game.gamesPlayed(), me.place,
                    me.finalScore, me.points);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s: %s\n", kProgram, problem.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

class GameWindow : public QWidget {
public:
    explicit GameWindow(OnePlayerGame& game) : game_(game) {
        setObjectName("Zelvan1Window");
        setWindowTitle(QString::fromUtf8(kTitle));
        setFixedSize(game.layout().width, game.layout().height);
        int face = game.layout().width >= 1024 ? 96 : game.layout().width >= 800 ? 72 : 56;

        auto* root = new QVBoxLayout(this);
        auto* note = new QLabel(StandInNote(), this);
        note->setObjectName("StandInNote");
        note->setWordWrap(true);
        note->setStyleSheet("color: #a00000;");
        root->addWidget(note);

        auto* seatsRow = new QHBoxLayout;
        const char* winds[] = {"東", "南", "西", "北"};
        for (int s = 0; s < 4; ++s) {
            const RecordSeat& seat = game.seats()[static_cast<std::size_t>(s)];
            auto* box =
                new QGroupBox(QString::fromUtf8(winds[s]) + "  " +
                                  (s == 0 ? QString::fromUtf8("あなた") : QString::fromUtf8("コンピュータ")),
                              this);
            box->setObjectName(QString("Seat%1").arg(s + 1));
            auto* grid = new QGridLayout(box);
            auto* picture = new QLabel(box);
            picture->setObjectName(QString("Face%1").arg(s + 1));
            picture->setPixmap(FacePixmap(game.faces()[static_cast<std::size_t>(s)], seat.name, face));
            picture->setFixedSize(face, face);
            grid->addWidget(picture, 0, 0, 2, 1);
            auto* name = new QLabel(Q(seat.displayName.empty() ? seat.name : seat.displayName), box);
            name->setObjectName(QString("Name%1").arg(s + 1));
            QFont bold = name->font();
            bold.setBold(true);
            name->setFont(bold);
            if (!seat.displayName.empty() && seat.displayName != seat.name) name->setToolTip(Q(seat.name));
            grid->addWidget(name, 0, 1);
            scores_[static_cast<std::size_t>(s)] = new QLabel(QString::number(game.rules().startPoint), box);
            scores_[static_cast<std::size_t>(s)]->setObjectName(QString("Score%1").arg(s + 1));
            grid->addWidget(scores_[static_cast<std::size_t>(s)], 1, 1);
            seatsRow->addWidget(box);
        }
        root->addLayout(seatsRow);

        auto* rulesBox =
            new QGroupBox(QString::fromUtf8(game.rulesFileRead() ? "ルール (zelvan1.pf)"
                                                                 : "ルール (標準; zelvan1.pf がありません)"),
                          this);
        auto* rulesLayout = new QVBoxLayout(rulesBox);
        auto* rules = new QLabel(JoinLines(RulesSummary(game.rules())), rulesBox);
        rules->setObjectName("RulesSummary");
        rulesLayout->addWidget(rules);
        root->addWidget(rulesBox);

        log_ = new QPlainTextEdit(this);
        log_->setObjectName("GameLog");
        log_->setReadOnly(true);
        log_->setPlainText(QString::fromUtf8("「対局開始」で一ゲームを行います。結果は ") +
                           Q(game.resultsPath()) + QString::fromUtf8(" に追記されます。"));
        root->addWidget(log_, 1);

        status_ = new QLabel(QString::fromUtf8("♪ ") + Q(SoundFor(game.sounds(), "sound_openning")), this);
        status_->setObjectName("SoundStatus");
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(status_, 1);
        auto* play = new QPushButton(QString::fromUtf8("対局開始"), this);
        play->setObjectName("PlayButton");
        auto* close = new QPushButton(QString::fromUtf8("閉じる"), this);
        close->setObjectName("CloseButton");
        buttons->addWidget(play);
        buttons->addWidget(close);
        root->addLayout(buttons);
        connect(play, &QPushButton::clicked, this, [this] { PlayButtonClick(); });
        connect(close, &QPushButton::clicked, this, &QWidget::close);
    }

private:
    void PlayButtonClick() {
        std::string problem = game_.PlayOne(ChooseSeed());
        const GameOutcome& last = game_.lastGame();
        for (std::size_t s = 0; s < 4; ++s) {
            const PlayerStats& p = last.players[s];
            scores_[s]->setText(QString::fromUtf8("%1点\n%2位  %3%4")
                                    .arg(p.finalScore)
                                    .arg(p.place)
                                    .arg(p.points >= 0 ? "+" : "")
                                    .arg(p.points));
        }
        log_->setPlainText(JoinLines(GameText(game_)));
        status_->setText(QString::fromUtf8("♪ ") + Q(SoundFor(game_.sounds(), "sound_gameend")) + "  " +
                         Q(SoundFor(game_.sounds(), PlaceWord(last.players[0].place))));
        if (!problem.empty())
            QMessageBox::warning(this, QString::fromUtf8("麻雀  エラー"),
                                 QString::fromUtf8("ファイルに書き込めませんでした。\n") + Q(problem));
    }

    OnePlayerGame& game_;
    std::array<QLabel*, 4> scores_{};
    QPlainTextEdit* log_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = ParseEngineOptions(args, "BncTuQHl");
    PrintWarnings(kProgram, parsed.warnings);
    if (parsed.options.help) {
        PrintUsage(stdout);
        return 0;
    }
    int autoplay = AutoplayCount();
    std::string error = parsed.error;
    OnePlayerGame game;
    std::vector<std::string> warnings;
    if (error.empty()) error = game.Prepare(parsed.options, zv::ExecutableDir(), kProgram, warnings);
    if (error.empty() && autoplay < 0) error = "ZV_ENGINE_AUTOPLAY must be a number of games (1 or more)";
    PrintWarnings(kProgram, warnings);
    if (!error.empty())
        return ReportStartFailure(argc, argv, kProgram, kTitle, error, PrintUsage, !parsed.error.empty(),
                                  autoplay);
    if (autoplay > 0) return Autoplay(game, autoplay);

    QApplication app(argc, argv);
    GameWindow window(game);
    window.show();
    return app.exec();
}
