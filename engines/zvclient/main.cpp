// zvclient / rclient: network game client. Joins a game server (-h, -p) and
// waits for the game, which the server plays on the rules library; the
// client's seat is played by the computer player of the player's own
// character (<-B>/<-n>.pf, else the default style) while the window shows no
// table. Appends the result to <-B>/zvclient.res and rewrites the -l record.
//
// ZV_ENGINE_AUTOPLAY=N plays N games without any window and exits.
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "engine_widgets.h"
#include "net_client.h"

namespace {

using namespace zv::engine;

#ifdef ZV_REAL_TILES
const char* kProgram = "rclient";
const char* kTitle = "麻雀  ネットワーク対戦 (リアル牌)";
#else
const char* kProgram = "zvclient";
const char* kTitle = "麻雀  ネットワーク対戦";
#endif

void PrintUsage(std::FILE* out) {
    std::fprintf(
        out,
        "%s - network game client of riichi mahjong: joins a game server, which\n"
        "plays the game by its rules; this window shows no table yet, so the\n"
        "player's seat is played by the computer player of NAME.pf in DIR (or the\n"
        "default style) and the result is shown.\n"
        "\n"
        "usage: %s [-T LAYOUT] -B \"DIR\" -c -n NAME -p PORT -h HOST [-l \"RECORD\"] [-C] [-k] [-S]\n"
        "  -B DIR     the player's directory: NAME.pf is read, zvclient.res is appended there\n"
        "  -n NAME    the player's name;  -c  accepted\n"
        "  -p PORT    the server's TCP port;  -h HOST  the server (default localhost)\n"
        "  -T LAYOUT  small (640x480), small4, large (800x600), large4 (1024x768)\n"
        "  -l FILE    write the game record (the folder must exist)\n"
        "  -C, -k     accepted (talk is not offered; the protocol is always UTF-8)\n"
        "  -S         IPX/SPX: not available on this platform\n"
        "environment: ZV_ENGINE_AUTOPLAY=N plays N games without a window and exits\n",
        kProgram, kProgram);
}

std::string Describe(const NetClient& client) {
    const NetGameResult& r = client.last();
    std::string text = "ゲーム " + std::to_string(r.gameNumber) + " 終了: " + std::to_string(r.mine.place) +
                       "位  ポイント " + std::to_string(r.mine.points) + "  チップ " +
                       std::to_string(r.mine.chips);
    for (std::size_t s = 0; s < 4; ++s) {
        const RecordSeat& seat = r.seats[s];
        text += "\n  [" + std::to_string(s) + "] " + seat.displayName +
                (s == static_cast<std::size_t>(r.seat) ? "  (あなた)" : "");
    }
    return text;
}

int Autoplay(NetClient& client, int count) {
    for (int i = 0; i < count; ++i) {
        std::string message;
        bool played = client.PlayOnce(
            message,
            [](const std::string& text) {
                std::printf("%s: %s\n", kProgram, text.c_str());
                std::fflush(stdout);
            },
            nullptr);
        if (!played) {
            std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
            return 1;
        }
        std::printf("%s: game %d over: place %d, points %d\n", kProgram, client.last().gameNumber,
                    client.last().mine.place, client.last().mine.points);
        if (!message.empty()) {
            std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
            return 1;
        }
    }
    return 0;
}

class ClientWindow : public QWidget {
public:
    explicit ClientWindow(NetClient& client) : client_(client) {
        setObjectName("ClientWindow");
        setWindowTitle(QString::fromUtf8(kTitle));
        setFixedSize(client.layout().width, client.layout().height);
        auto* root = new QVBoxLayout(this);
        auto* note = new QLabel(ComputerSeatNote(), this);
        note->setObjectName("GameNote");
        note->setWordWrap(true);
        note->setStyleSheet("color: #a00000;");
        root->addWidget(note);
        auto* where = new QLabel(QString::fromUtf8("ユーザ名: ") + Q(client.name()) +
                                     QString::fromUtf8("    接続先: ") + Q(client.host()) + ":" +
                                     QString::number(client.port()),
                                 this);
        where->setObjectName("Host");
        root->addWidget(where);
        log_ = new QPlainTextEdit(this);
        log_->setObjectName("ClientLog");
        log_->setReadOnly(true);
        root->addWidget(log_, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        connect_ = new QPushButton(QString::fromUtf8("接続して対局"), this);
        connect_->setObjectName("ConnectButton");
        auto* close = new QPushButton(QString::fromUtf8("閉じる"), this);
        close->setObjectName("CloseButton");
        buttons->addWidget(connect_);
        buttons->addWidget(close);
        root->addLayout(buttons);
        connect(connect_, &QPushButton::clicked, this, [this] { StartGame(); });
        connect(close, &QPushButton::clicked, this, &QWidget::close);
        StartGame();
    }

    ~ClientWindow() override { StopWorker(); }

protected:
    void closeEvent(QCloseEvent* event) override {
        StopWorker();
        event->accept();
    }

private:
    void Append(const QString& text) { log_->appendPlainText(text); }

    void StopWorker() {
        cancel_.store(true);
        if (worker_.joinable()) worker_.join();
    }

    void StartGame() {
        if (worker_.joinable()) worker_.join();
        cancel_.store(false);
        connect_->setEnabled(false);
        Append(QString::fromUtf8("サーバに接続します..."));
        worker_ = std::thread([this] {
            std::string message;
            bool played = client_.PlayOnce(
                message,
                [this](const std::string& text) {
                    QString line = Q(text);
                    QMetaObject::invokeMethod(
                        this, [this, line] { Append(line); }, Qt::QueuedConnection);
                },
                &cancel_);
            if (cancel_.load()) return;
            QString summary = played ? Q(Describe(client_)) : QString();
            QString problem = Q(message);
            QMetaObject::invokeMethod(
                this,
                [this, played, summary, problem] {
                    connect_->setEnabled(true);
                    if (played) Append(summary);
                    if (!problem.isEmpty()) {
                        Append(problem);
                        QMessageBox::warning(this, QString::fromUtf8("麻雀  エラー"), problem);
                    }
                },
                Qt::QueuedConnection);
        });
    }

    NetClient& client_;
    QPlainTextEdit* log_ = nullptr;
    QPushButton* connect_ = nullptr;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
};

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = ParseEngineOptions(args, "TBcnphlSCk");
    PrintWarnings(kProgram, parsed.warnings);
    if (parsed.options.help) {
        PrintUsage(stdout);
        return 0;
    }
    int autoplay = AutoplayCount();
    std::string error = parsed.error;
    NetClient client;
    std::vector<std::string> warnings;
    if (error.empty()) error = client.Prepare(parsed.options, warnings);
    if (error.empty() && autoplay < 0) error = "ZV_ENGINE_AUTOPLAY must be a number of games (1 or more)";
    PrintWarnings(kProgram, warnings);
    if (!error.empty())
        return ReportStartFailure(argc, argv, kProgram, kTitle, error, PrintUsage, !parsed.error.empty(),
                                  autoplay);
    if (autoplay > 0) return Autoplay(client, autoplay);

    QApplication app(argc, argv);
    ClientWindow window(client);
    window.show();
    return app.exec();
}
