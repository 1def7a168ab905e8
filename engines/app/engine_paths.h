#pragma once
// Path checks of the engines: every file they write is inside the
// -B directory or is the -l record file, and they never create directories.
#include <string>

namespace zv::engine {

// A name usable as one path component and as one word of a line: not empty,
// at most 64 bytes, no separators, blanks or control characters, not "." or "..".
bool IsPlainName(const std::string& name);

// The name turned into one word (blanks and separators become '_'), at
// most 64 bytes, cut between characters.
std::string OneWord(const std::string& name);

bool IsDirectory(const std::string& path);

// `dir` joined with `file` by one '/'.
std::string JoinPath(const std::string& dir, const std::string& file);

// Empty when `path` can be (re)written as a record: its folder exists and it
// is not itself a directory; else a message.
std::string CheckRecordPath(const std::string& path);

}  // namespace zv::engine
