#pragma once
// A plain reader of results files, written to be read rather than to be
// fast: the text is cut into lines, each line into words, and every number
// goes through the tokenizer's WordToInt. ReadResultsFile must total any
// file exactly as this does; the tests hold the two side by side.
#include <string_view>

#include "records/results.h"

namespace zv {

// The totals of a whole results file's bytes.
PlayerResults ReferenceResults(std::string_view text);

}  // namespace zv
