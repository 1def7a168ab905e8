#pragma once
// Whole-file reading and atomic saving. A save writes a temporary file in the
// target's folder, flushes it to disk and renames it over the target, so that
// a failure at any point leaves the old file byte for byte.
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
    CannotCreate,  // the new file could not be created (folder missing, no permission)
    WriteFailed,   // writing, flushing, closing or renaming failed
};

SaveResult SaveFileAtomically(const std::string& path, const std::string& bytes);

// Encodes UTF-8 lines to CP932, each ended by CR LF.
std::string EncodeCrLfLines(const std::vector<std::string>& lines);

// Splits UTF-8 text into lines; CR LF and a lone LF both end a line. A final
// line without a line end is kept.
std::vector<std::string> SplitLines(const std::string& text);

// Fault injection for tests: makes the next saves fail at the given stage.
enum class SaveFault { None, Create, Write, Rename };
void InjectSaveFault(SaveFault fault);

}  // namespace zv
