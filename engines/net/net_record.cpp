#include "net/net_record.h"

#include <cstdint>
#include <memory>

#include "config/file_io.h"
#include "format/game_record.h"
#include "platform/env.h"

namespace zv::engine {
namespace {

std::string CopyPath(const std::string& path) { return path + ".new"; }

// Whether `bytes` is a whole record: its first line, and a game's last line at the end.
bool IsWholeRecord(const std::string& bytes) {
    const std::string head = std::string(kRecordMagic) + "\r\n";
    if (bytes.rfind(head, 0) != 0 || bytes.size() < head.size() + 2 ||
        bytes.compare(bytes.size() - 2, 2, "\r\n") != 0)
        return false;
    std::size_t start = bytes.rfind("\r\n", bytes.size() - 3) + 2;
    return bytes.compare(start, 5, "end: ") == 0;
}

// Copies all of `from` to the start of `to`, piece by piece, so that a long
// record is never held in memory whole. `size` receives the count copied.
bool CopyFile(ReadableFile& from, WritableFile& to, std::uint64_t& size) {
    std::string chunk(65536, '\0');
    size = 0;
    for (;;) {
        const std::int64_t got = from.Read(chunk.data(), chunk.size());
        if (got == 0) return true;
        if (got < 0 || !to.WriteAt(chunk.substr(0, static_cast<std::size_t>(got)), size)) return false;
        size += static_cast<std::uint64_t>(got);
    }
}

}  // namespace

std::string AppendRecordBlock(const std::string& path, const std::vector<std::string>& block) {
    Env& env = CurrentEnv();
    const std::string problem = path + ": cannot write the record file";
    const std::string copy = CopyPath(path);
    std::unique_ptr<ReadableFile> record = env.OpenForReading(path);
    if (!record && env.Exists(path)) return problem;  // never replace a record that cannot be read
    std::unique_ptr<WritableFile> out = env.CreateEmptyFile(copy);
    if (!out) return problem;
    std::uint64_t size = 0;
    bool ok = !record || CopyFile(*record, *out, size);
    std::string bytes = EncodeCrLfLines(block);
    if (size == 0) bytes = EncodeCrLfLines({kRecordMagic}) + bytes;
    ok = ok && out->WriteAt(bytes, size) && out->Sync();
    ok = out->Close() && ok;
    if (ok && env.RenameFile(copy, path)) {
        env.SyncFolderOf(path);
        return {};
    }
    env.RemoveFile(copy);
    return problem;
}

std::string RecoverRecord(const std::string& path) {
    Env& env = CurrentEnv();
    const std::string copy = CopyPath(path);
    if (!env.Exists(copy)) return {};
    auto pending = ReadWholeFile(copy);
    auto current = ReadWholeFile(path);
    if (!pending || (!current && env.Exists(path)))
        return copy + ": cannot read it or the record; both are left as they are";
    const std::string kept = current.value_or("");
    if (IsWholeRecord(*pending) && pending->size() > kept.size() &&
        pending->compare(0, kept.size(), kept) == 0) {
        if (!env.RenameFile(copy, path)) return copy + ": cannot put it in place";
        env.SyncFolderOf(path);
        return path + ": the last game written before the server stopped was taken from " + copy;
    }
    env.RemoveFile(copy);
    env.SyncFolderOf(path);
    return copy + ": an unfinished copy of the record was removed";
}

}  // namespace zv::engine
