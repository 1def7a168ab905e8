#pragma once
// Whole-file reading and atomic saving. A save writes a temporary file in the
// target's folder, flushes it to disk and renames it over the target, so that
// a failure at any point leaves the old file byte for byte. Every step goes
// through the porting layer (platform/env.h).
//
// A folder that takes no new files (read-only, or owned by someone else) may
// still hold a file the user can write. Such a file is then rewritten in
// place: the new bytes over the old, cut to length, flushed. That is not
// atomic; a write that fails puts the old bytes back before reporting.
#include <optional>
#include <string>
#include <vector>

namespace zv {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Reads a CP932 text file and returns it as UTF-8.
std::optional<std::string> ReadTextFile(const std::string& path);

enum class SaveResult {
    Saved,
    CannotCreate,  // neither a temporary file nor the file itself could be opened for writing
    WriteFailed,   // writing, flushing, closing or renaming failed
};

SaveResult SaveFileAtomically(const std::string& path, const std::string& bytes);

// Encodes UTF-8 lines to CP932, each ended by CR LF.
std::string EncodeCrLfLines(const std::vector<std::string>& lines);

// Splits UTF-8 text into lines; CR LF and a lone LF both end a line. A final
// line without a line end is kept.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace zv
