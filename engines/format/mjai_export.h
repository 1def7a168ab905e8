#pragma once
// The mjai export and import of recorded games. The export replays a game
// of a record and tells every step with the table's own events as mjai JSON
// lines; the import plays an mjai log again on the rules library, each hand
// on the wall the log shows, and checks its scores against the log's.
#include <memory>
#include <string>
#include <vector>

#include "format/game_record.h"
#include "mjai/mjai.h"
#include "riichi/game.h"
#include "riichi/table.h"

namespace zv::engine {

// The mjai lines of one recorded game (start_game .. end_game). False with
// `error` when the game cannot be replayed (an old record without actions,
// a damaged one).
bool MjaiLines(const RecordedGame& game, std::vector<std::string>& lines, std::string& error);

// Plays an imported log again by `rules`. Returns the finished game, or null
// with `error` when an action is refused or a hand's scores differ from the
// log's.
std::unique_ptr<riichi::Game> PlayImported(const mjai::ImportedGame& game, const riichi::Rules& rules,
                                           std::string& error);

}  // namespace zv::engine
