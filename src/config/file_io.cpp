#include "config/file_io.h"

#include <filesystem>

#include "config/codec.h"
#include "platform/env.h"

namespace zv {
namespace {

// Rewrites an existing regular file in place, for a folder that takes no
// temporary file. The new bytes go over the old ones before the file is cut
// to length, so the blocks the old content already holds are reused and a
// full disk shows up as early as it can. When writing or flushing fails, the
// old content is written back.
SaveResult RewriteInPlace(Env& env, const std::filesystem::path& target, const std::string& bytes) {
    std::unique_ptr<WritableFile> file = env.OpenForRewrite(target.string());
    if (!file) return SaveResult::CannotCreate;
    std::optional<std::string> old = file->ReadAll();
    if (!old) return SaveResult::WriteFailed;  // the old content is not known: do not touch it

    bool ok = file->WriteAt(bytes, 0) && file->Truncate(bytes.size()) && file->Sync();
    if (!ok && file->WriteAt(*old, 0) && file->Truncate(old->size())) file->Sync();
    ok = file->Close() && ok;
    return ok ? SaveResult::Saved : SaveResult::WriteFailed;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    Env& env = CurrentEnv();
    if (env.IsFolder(path)) return std::nullopt;
    std::unique_ptr<ReadableFile> file = env.OpenForReading(path);
    if (!file) return std::nullopt;
    return ReadToEnd(*file);
}

std::optional<std::string> ReadTextFile(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return FromCp932(*bytes);
}

SaveResult SaveFileAtomically(const std::string& path, const std::string& bytes) {
    // A symbolic link is kept: the file it points at is replaced.
    std::error_code ec;
    std::filesystem::path target = path;
    if (std::filesystem::is_symlink(target, ec)) {
        auto resolved = std::filesystem::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    Env& env = CurrentEnv();
    std::string temp;
    Env::CreateFailure failure = Env::CreateFailure::None;
    std::unique_ptr<WritableFile> file = env.CreateTemporaryBeside(target.string(), temp, failure);
    if (!file) {
        // Only a folder that refuses new files falls back on rewriting the
        // file itself; a missing folder and other failures are reported.
        if (failure == Env::CreateFailure::Refused) return RewriteInPlace(env, target, bytes);
        return SaveResult::CannotCreate;
    }

    bool ok = file->WriteAt(bytes, 0) && file->Sync();
    ok = file->Close() && ok;
    if (ok && env.RenameFile(temp, target.string())) return SaveResult::Saved;
    env.RemoveFile(temp);
    return SaveResult::WriteFailed;
}

std::string EncodeCrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return ToCp932(text);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        lines.emplace_back(text, start, stop - start);
        start = end + 1;
    }
    return lines;
}

}  // namespace zv
