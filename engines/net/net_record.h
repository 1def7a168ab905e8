#pragma once
// The server's record file: every game the server finishes is added to the
// games before it, of this run and of earlier ones. The record is never
// changed in place: a copy beside it (the record's name + ".new") gets the
// record and the new game, is flushed to the disk and then takes the
// record's place, so that a crash at any moment leaves either the old record
// or the new one, and at most that copy beside it.
#include <string>
#include <vector>

namespace zv::engine {

// Adds one game's block (its record lines) to the record at `path`, which is
// made when missing. Empty on success, else the problem; the record is then
// as it was.
std::string AppendRecordBlock(const std::string& path, const std::vector<std::string>& block);

// Settles the copy a crash left beside the record: put in place when it is the
// record with a whole game more, removed otherwise. Returns what was done,
// for the log; empty when there was no copy.
std::string RecoverRecord(const std::string& path);

}  // namespace zv::engine
