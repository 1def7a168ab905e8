// The network client's window on a game held by a server on loopback: the
// player decides on the board for its seat, three computer players take the
// others, and the finished game is filed and its standings shown.
#include <QLabel>
#include <QPixmap>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "board/net_board_window.h"
#include "board_test_support.h"
#include "net/net_client.h"
#include "net/net_game.h"
#include "riichi/game.h"
#include "support/event_loop.h"

namespace zv::test {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int Count(const std::string& text, const std::string& start) {
    int n = 0;
    for (std::size_t at = 0; (at = text.find(start, at)) != std::string::npos; ++at) ++n;
    return n;
}

class NetBoardTest : public BoardFixture {
protected:
    void SetUp() override {
        engine::ServerConfig config;
        config.seed = 21;
        config.rules.eastOnly = true;
        server_ = std::make_unique<engine::GameServer>(config, [](const std::string&) {});
        std::string error;
        ASSERT_TRUE(server_->Open(error)) << error;
        thread_ = std::thread([this] { server_->Run(stop_); });
        std::filesystem::create_directories(dir_.Path("usr/guest"));
        engine::EngineOptions o;
        o.baseDir = dir_.Path("usr/guest");
        o.name = "guest";
        o.layout = "large";
        o.host = "127.0.0.1";
        o.port = std::to_string(server_->Port());
        o.recordFile = dir_.Path("usr/guest/client.fu");
        std::vector<std::string> warnings;
        ASSERT_EQ(client_.Prepare(o, warnings), "");
    }
    void TearDown() override {
        stop_.store(true);
        for (auto& t : computers_) t.join();
        if (thread_.joinable()) thread_.join();
    }
    void StartComputers() {
        for (const char* name : {"_todo", "_min", "_wizard"})
            computers_.emplace_back([this, name] {
                engine::JoinRequest request;
                request.kind = "auto";
                request.name = name;
                engine::NetGameResult result;
                std::string message;
                engine::PlayNetworkGame(
                    "127.0.0.1", server_->Port(), request, result, message, [](const std::string&) {},
                    &stop_);
            });
    }

    std::unique_ptr<engine::GameServer> server_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::vector<std::thread> computers_;
    engine::NetClient client_;
};

TEST_F(NetBoardTest, ThePlayerPlaysItsSeatOnTheBoardAndTheGameIsFiled) {
    board::NetBoardWindow w(client_, board::TileLook::Flat, "network test", std::string(ZV_STAGE_DIR));
    std::vector<QString> messages;
    w.showMessage = [&](const QString& text) { messages.push_back(text); };
    w.show();
    ASSERT_TRUE(w.Join());
    StartComputers();
    int decisions = 0, hands = 0;
    bool pictured = false;
    ASSERT_TRUE(ProcessEventsUntil(
        [&] {
            if (w.gamesFiled() == 1) return true;
            board::ResultPanel* panel = w.resultPanel();
            if (panel->isVisible()) {
                if (QPushButton* ok = VisibleButton(panel, "ResultOkButton")) {
                    ++hands;
                    ok->click();
                }
                return false;
            }
            if (w.table()->deciding()) {
                // The board offers exactly what the server asked for.
                EXPECT_EQ(w.table()->view().legal, w.session().ask().actions);
                if (!pictured && decisions == 12) {
                    // A picture of the board mid-game, for a look by eye.
                    if (const char* shot = std::getenv("ZV_NET_BOARD_SHOT"); shot != nullptr)
                        w.grab().save(QString::fromUtf8(shot));
                    pictured = true;
                }
                if (Decide(w.table())) ++decisions;
            }
            return false;
        },
        60000));
    EXPECT_GE(hands, 4);
    EXPECT_GT(decisions, 20);
    EXPECT_TRUE(messages.empty());
    // The standings of all four, and the player's own result and record.
    QString final = w.resultPanel()->text();
    for (const char* word : {"対局終了", "1位", "2位", "3位", "4位", "ポイント"})
        EXPECT_TRUE(final.contains(QString::fromUtf8(word))) << word << "\n" << final.toStdString();
    EXPECT_NE(VisibleButton(w.resultPanel(), "AgainButton"), nullptr);
    std::string res = ReadAll(dir_.Path("usr/guest/zvclient.res"));
    EXPECT_EQ(Count(res, "result: "), 1) << res;
    EXPECT_EQ(Count(res, "result: " + std::to_string(w.session().result().mine.place) + " "), 1) << res;
    std::string record = ReadAll(dir_.Path("usr/guest/client.fu"));
    EXPECT_EQ(Count(record, "game: 1"), 1) << record;
    EXPECT_EQ(Count(record, "hand: "), hands) << record;
    EXPECT_TRUE(w.status().contains(QString::fromUtf8("対局終了")));
}

TEST_F(NetBoardTest, ALostServerIsToldAndClosingDuringAGameAsksFirst) {
    board::NetBoardWindow w(client_, board::TileLook::Real, "network test", std::string(ZV_STAGE_DIR));
    std::vector<QString> messages;
    int questions = 0;
    w.showMessage = [&](const QString& text) { messages.push_back(text); };
    w.confirmClose = [&] {
        ++questions;
        return false;
    };
    w.show();
    ASSERT_TRUE(w.Join());
    StartComputers();
    ASSERT_TRUE(ProcessEventsUntil([&] { return w.table()->deciding(); }, 20000));
    EXPECT_FALSE(w.close());  // the player thinks better of it
    EXPECT_EQ(questions, 1);
    // The server goes away mid-game: the window says so and keeps its table.
    stop_.store(true);
    thread_.join();
    server_.reset();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !messages.empty(); }, 20000));
    EXPECT_TRUE(messages.front().contains("closed the connection")) << messages.front().toStdString();
    EXPECT_FALSE(w.table()->deciding());
    EXPECT_TRUE(w.close());  // no game left to ask about
    EXPECT_EQ(questions, 1);
}

// In a network game the player may sit anywhere; the board turns the table
// so that the player is at the bottom, and every card keeps the face of the
// seat it names.
TEST(NetBoardSeats, EveryCardShowsTheFaceOfTheSeatItNames) {
    board::TableView table(board::TileLook::Flat);
    table.resize(800, 560);
    table.show();
    const std::array<QColor, 4> colors = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    std::array<board::SeatCard, 4> seats;
    for (int s = 0; s < 4; ++s) {
        QPixmap face(64, 64);
        face.fill(colors[static_cast<std::size_t>(s)]);
        seats[static_cast<std::size_t>(s)] = {QString("seat%1").arg(s), face};
    }
    table.SetSeats(seats);
    riichi::Game game(riichi::Rules{}, 5);
    for (int viewer : {2, 1}) {
        table.Show(game.View(viewer), false);
        int checked = 0;
        for (QLabel* label : table.findChildren<QLabel*>()) {
            if (!label->accessibleName().startsWith("seat") || label->pixmap().isNull()) continue;
            int seat = label->accessibleName().mid(4).toInt();
            QImage image = label->pixmap().toImage();
            EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2),
                      colors[static_cast<std::size_t>(seat)])
                << "viewer " << viewer << ", card of seat " << seat;
            ++checked;
        }
        EXPECT_EQ(checked, 4);
    }
}

}  // namespace
}  // namespace zv::test
