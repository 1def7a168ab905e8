#pragma once
// The ranking: one line of totals per player with a results file, in
// fixed-width columns under a header line. Widths count bytes of the CP932
// text, so that the columns line up in a fixed-pitch font; a longer value is
// never cut and pushes the rest of its line to the right.
#include <string>
#include <vector>

#include "records/results.h"

namespace zv {

std::string RankingHeader();
std::string RankingRow(const std::string& playerName, const PlayerResults& results);

// Rows for every entry of usr/ (except "_default") whose network or
// one-player results file can be read, in the order the folder lists them.
// A missing or unreadable usr/ folder gives no rows.
std::vector<std::string> CollectRankingRows(bool network);

// `text` right-aligned in at least `width` bytes of CP932.
std::string PadLeftCp932(const std::string& text, std::size_t width);

}  // namespace zv
