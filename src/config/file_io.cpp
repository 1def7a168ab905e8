#include "config/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/codec.h"

namespace zv {
namespace {

SaveFault g_fault = SaveFault::None;

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes all of `bytes` at the start of the file, then cuts the file to that
// length.
bool OverwriteFrom0(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
}

// Rewrites an existing regular file in place, for a folder that takes no
// temporary file. The new bytes go over the old ones before the file is cut
// to length, so the blocks the old content already holds are reused and a
// full disk shows up as early as it can. When writing or flushing fails, the
// old content is written back.
SaveResult RewriteInPlace(const std::filesystem::path& target, const std::string& bytes) {
    if (g_fault == SaveFault::Create) return SaveResult::CannotCreate;
    int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return SaveResult::CannotCreate;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return SaveResult::CannotCreate;
    }
    std::string old;
    old.resize(static_cast<std::size_t>(info.st_size));
    std::size_t got = 0;
    while (got < old.size()) {
        ssize_t n = ::pread(fd, old.data() + got, old.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got != old.size()) {  // the old content is not known: do not touch it
        ::close(fd);
        return SaveResult::WriteFailed;
    }

    bool ok;
    if (g_fault == SaveFault::NoTemporaryWrite) {
        OverwriteFrom0(fd, bytes.substr(0, bytes.size() / 2));
        ok = false;
    } else {
        ok = OverwriteFrom0(fd, bytes) && ::fsync(fd) == 0;
    }
    if (!ok && OverwriteFrom0(fd, old)) ::fsync(fd);
    ok = (::close(fd) == 0) && ok;
    return ok ? SaveResult::Saved : SaveResult::WriteFailed;
}

}  // namespace

void InjectSaveFault(SaveFault fault) { g_fault = fault; }

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return content.str();
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
    std::string temp = target.string() + ".tmp-XXXXXX";
    bool noTemporary = g_fault == SaveFault::Create || g_fault == SaveFault::NoTemporary ||
                       g_fault == SaveFault::NoTemporaryWrite;
    int fd = noTemporary ? -1 : ::mkstemp(temp.data());
    if (fd < 0) {
        // Only a folder that refuses new files falls back on rewriting the
        // file itself; a missing folder and other failures are reported.
        if (noTemporary || errno == EACCES || errno == EPERM) return RewriteInPlace(target, bytes);
        return SaveResult::CannotCreate;
    }

    // Keep the permissions of the file being replaced (mkstemp makes 0600).
    struct stat old {};
    mode_t mode = 0644;
    if (::stat(target.c_str(), &old) == 0) mode = old.st_mode & 07777;
    ::fchmod(fd, mode);

    bool ok = g_fault != SaveFault::Write && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && g_fault != SaveFault::Rename && ::rename(temp.c_str(), target.c_str()) == 0) {
        return SaveResult::Saved;
    }
    ::unlink(temp.c_str());
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
