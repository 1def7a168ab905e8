#pragma once
// Driving the one-player board as a player would: a prepared game in a
// throw-away player folder, a window at the instant pace, and a hand that
// clicks whatever the board offers.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/one_player.h"
#include "board/board_window.h"
#include "board/result_panel.h"
#include "board/table_view.h"
#include "riichi/shanten.h"
#include "support/temp_dir.h"

namespace zv::test {

// Finds a visible button with this object name below `root`.
inline QPushButton* VisibleButton(QWidget* root, const char* name) {
    for (QPushButton* b : root->findChildren<QPushButton*>(name))
        if (b->isVisible()) return b;
    return nullptr;
}

class BoardFixture : public ::testing::Test {
protected:
    void Prepare(const std::string& layout, const std::string& rules = "param: tonpu = 1\r\n") {
        if (!rules.empty()) dir_.Write("usr/guest/zelvan1.pf", rules);
        std::filesystem::create_directories(dir_.Path("usr/guest"));
        engine::EngineOptions o;
        o.baseDir = dir_.Path("usr/guest");
        o.name = "guest";
        o.layout = layout;
        o.length = 1;
        o.recordFile = dir_.Path("usr/guest/zelvan1.fu");
        warnings_.clear();
        ASSERT_EQ(game_.Prepare(o, std::string(ZV_STAGE_DIR), "zelvan1", warnings_), "");
    }

    std::unique_ptr<board::BoardWindow> Open(board::TileLook look = board::TileLook::Flat) {
        auto window = std::make_unique<board::BoardWindow>(game_, look, "board test");
        window->SetPace(board::Pace::Instant);
        window->showMessage = [this](const QString& text) { messages_.push_back(text); };
        window->playSound = [this](const std::string& key) { sounds_.push_back(key); };
        window->confirmClose = [this] {
            ++closeQuestions_;
            return closeAnswer_;
        };
        window->show();
        return window;
    }

    // Lets the window run until `done` holds or `rounds` event rounds pass.
    static bool RunUntil(const std::function<bool()>& done, int rounds = 20000) {
        for (int i = 0; i < rounds; ++i) {
            if (done()) return true;
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return done();
    }

    // True when the board waits for the player: a decision or a panel.
    static bool Waiting(board::BoardWindow& w) {
        return w.table()->deciding() || w.resultPanel()->isVisible();
    }

    // One decision as a simple player: win when offered, decline calls,
    // declare riichi when offered, else discard a tile that leaves the hand
    // nearest to ready. Returns false when nothing was clicked.
    static bool Decide(board::BoardWindow& w) { return Decide(w.table()); }
    static bool Decide(board::TableView* t) {
        if (!t->deciding()) return false;
        for (const char* name : {"TsumoButton", "RonButton"})
            if (QPushButton* b = VisibleButton(t, name)) {
                b->click();
                return true;
            }
        if (QPushButton* skip = VisibleButton(t, "SkipButton")) {
            skip->click();
            return true;
        }
        if (QPushButton* riichi = VisibleButton(t, "RiichiButton"); riichi != nullptr && !t->riichiChoosing())
            riichi->click();
        const riichi::SeatView& view = t->view();
        std::vector<riichi::TileId> held = view.concealed;
        if (view.drawn >= 0) held.push_back(view.drawn);
        int melds = static_cast<int>(view.melds[static_cast<std::size_t>(view.seat)].size());
        board::HandTile* best = nullptr;
        int bestShanten = 99;
        auto tiles = t->handTiles();
        for (auto it = tiles.rbegin(); it != tiles.rend(); ++it) {
            if (!(*it)->isEnabled()) continue;
            std::vector<riichi::TileId> rest = held;
            rest.erase(std::find(rest.begin(), rest.end(), (*it)->tile()));
            int shanten = riichi::Shanten(riichi::CountKinds(rest), melds);
            if (shanten < bestShanten) {
                bestShanten = shanten;
                best = *it;
            }
        }
        if (best == nullptr) return false;
        best->click();
        return true;
    }

    zv::test::TempDir dir_;
    engine::OnePlayerGame game_;
    std::vector<std::string> warnings_;
    std::vector<QString> messages_;
    std::vector<std::string> sounds_;
    int closeQuestions_ = 0;
    bool closeAnswer_ = true;
};

}  // namespace zv::test
