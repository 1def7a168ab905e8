// plview: the record player. Replays a game record (.fu) of the engines on
// the table, every seat's tiles face up, action by action and hand by hand.
// The record dialog starts it with the record's path unquoted, so a path
// with blanks arrives as several arguments: they are joined again.
//
// With ZV_ENGINE_AUTOPLAY set it replays every game of the record without a
// window and prints each hand's scores and the final standings (exit 0 when
// every game replayed to the end with the record's scores, 1 otherwise).
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/file_io.h"
#include "format/game_record.h"
#include "format/record_replay.h"
#include "plview/replay_window.h"

namespace {

using namespace zv::engine;

int ReplayToText(const std::string& path) {
    auto text = zv::ReadTextFile(path);
    if (!text) {
        std::fprintf(stderr, "plview: %s: cannot read the record file\n", path.c_str());
        return 1;
    }
    RecordFile record = ParseRecord(*text);
    if (record.games.empty()) {
        std::fprintf(stderr, "plview: %s: no game found (not a record of the engines?)\n", path.c_str());
        return 1;
    }
    int failures = 0;
    for (const RecordedGame& g : record.games) {
        GameReplay replay;
        std::string error;
        bool whole = replay.Load(g, error);
        std::printf("game %d: %d hands replayed\n", g.number, replay.HandCount());
        for (const ReplayedHand& h : replay.Hands()) {
            const auto& s = h.result.scoresAfter;
            std::printf("  %s: %zu actions, scores %d %d %d %d\n", HandName(*h.record).c_str(),
                        h.steps.size(), s[0], s[1], s[2], s[3]);
        }
        if (!whole) {
            std::fprintf(stderr, "plview: game %d: %s\n", g.number, error.c_str());
            ++failures;
            continue;
        }
        for (int seat = 0; seat < replay.Rules().Players(); ++seat) {
            const auto& t = replay.Finished()->Totals()[static_cast<std::size_t>(seat)];
            std::printf("  final: %d %d %d %d %d\n", seat, t.place, t.finalScore, t.points, t.chips);
        }
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-help" || args[0] == "-?")) {
        std::printf(
            "plview - record player of riichi mahjong games: replays a game record (.fu)\n"
            "action by action, every hand's tiles visible.\n"
            "usage: plview RECORD.fu\n"
            "keys: Right/Left one action, PageDown/PageUp one hand, Home/End the hand's start/end\n"
            "environment: ZV_ENGINE_AUTOPLAY set replays without a window and prints the scores\n");
        return 0;
    }
    std::string path;
    for (const std::string& a : args) path += (path.empty() ? "" : " ") + a;
    const char* headless = std::getenv("ZV_ENGINE_AUTOPLAY");
    if (headless != nullptr && *headless != '\0') {
        if (path.empty()) {
            std::fprintf(stderr, "plview: no record file given\n");
            return 2;
        }
        return ReplayToText(path);
    }
    QApplication app(argc, argv);
    zv::replay::ReplayWindow window(zv::board::TileLook::Flat);
    if (!path.empty()) window.Open(path);
    window.show();
    return app.exec();
}
