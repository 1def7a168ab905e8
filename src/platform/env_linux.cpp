#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/env.h"

namespace zv {
namespace {

Env* g_override = nullptr;

// Writes all of `bytes` at the file position of `fd`.
bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The folder part of `path`: "." for a bare name, "/" for a name at the root.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

class PosixWritableFile : public WritableFile {
public:
    explicit PosixWritableFile(int fd) : fd_(fd) {}
    ~PosixWritableFile() override { Close(); }

    bool WriteAt(const std::string& bytes, std::uint64_t offset) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n =
                ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    bool Truncate(std::uint64_t size) override { return ::ftruncate(fd_, static_cast<off_t>(size)) == 0; }

    bool Sync() override { return ::fsync(fd_) == 0; }

    std::optional<std::string> ReadAll() override {
        struct stat info {};
        if (::fstat(fd_, &info) != 0) return std::nullopt;
        std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
        std::size_t got = 0;
        while (got < bytes.size()) {
            ssize_t n = ::pread(fd_, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        if (got != bytes.size()) return std::nullopt;
        return bytes;
    }

    bool Close() override {
        if (fd_ < 0) return true;
        const bool ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

private:
    int fd_;
};

class PosixReadableFile : public ReadableFile {
public:
    explicit PosixReadableFile(int fd) : fd_(fd) {}
    ~PosixReadableFile() override { ::close(fd_); }

    std::int64_t Read(char* buffer, std::size_t size) override {
        for (;;) {
            ssize_t got = ::read(fd_, buffer, size);
            if (got >= 0 || errno != EINTR) return got;
        }
    }

    std::int64_t ReadAt(char* buffer, std::size_t size, std::uint64_t offset) override {
        for (;;) {
            ssize_t got = ::pread(fd_, buffer, size, static_cast<off_t>(offset));
            if (got >= 0 || errno != EINTR) return got;
        }
    }

    std::optional<std::uint64_t> RegularFileSize() override {
        struct stat info {};
        if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
        return static_cast<std::uint64_t>(info.st_size);
    }

    bool Seek(std::uint64_t offset) override {
        return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
    }

private:
    int fd_;
};

// The kind of a folder entry whose type the folder listing did not tell.
EntryKind KindOf(const std::string& path, unsigned char type) {
    struct stat info {};
    if (type == DT_LNK)
        return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) ? EntryKind::File
                                                                          : EntryKind::Other;
    if (type != DT_UNKNOWN) return EntryKind::File;  // devices, pipes, sockets
    if (::lstat(path.c_str(), &info) != 0) return EntryKind::Other;
    if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
    if (S_ISLNK(info.st_mode)) return KindOf(path, DT_LNK);
    return EntryKind::File;
}

class PosixEnv : public Env {
public:
    std::unique_ptr<ReadableFile> OpenForReading(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return nullptr;
        return std::make_unique<PosixReadableFile>(fd);
    }

    std::unique_ptr<WritableFile> CreateTemporaryBeside(const std::string& target, std::string& path,
                                                        CreateFailure& failure) override {
        path = target + ".tmp-XXXXXX";
        int fd = ::mkstemp(path.data());
        if (fd < 0) {
            failure = errno == EACCES || errno == EPERM ? CreateFailure::Refused : CreateFailure::Other;
            return nullptr;
        }
        failure = CreateFailure::None;
        // Keep the permissions of the file being replaced (mkstemp makes 0600).
        struct stat old {};
        mode_t mode = 0644;
        if (::stat(target.c_str(), &old) == 0) mode = old.st_mode & 07777;
        ::fchmod(fd, mode);
        return std::make_unique<PosixWritableFile>(fd);
    }

    std::unique_ptr<WritableFile> OpenForRewrite(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) return nullptr;
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixWritableFile>(fd);
    }

    std::unique_ptr<WritableFile> CreateEmptyFile(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return nullptr;
        return std::make_unique<PosixWritableFile>(fd);
    }

    bool AppendToFile(const std::string& path, const std::string& bytes) override {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        const bool written = WriteAll(fd, bytes);
        return ::close(fd) == 0 && written;
    }

    bool RenameFile(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0;
    }

    bool RemoveFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

    bool Exists(const std::string& path) override {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0;
    }

    std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) override {
        DIR* dir = ::opendir(path.c_str());
        if (dir == nullptr) return std::nullopt;
        // The folder is read whole and closed before its entries are looked
        // at, so that a walk down a deep tree holds one folder open at most.
        std::vector<std::pair<std::string, unsigned char>> names;
        while (const dirent* entry = ::readdir(dir)) {
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
            names.emplace_back(name, entry->d_type);
        }
        ::closedir(dir);
        std::vector<FolderEntry> entries;
        entries.reserve(names.size());
        for (auto& [name, type] : names) {
            EntryKind kind = type == DT_REG   ? EntryKind::File
                             : type == DT_DIR ? EntryKind::Folder
                                              : KindOf(path + "/" + name, type);
            entries.push_back({std::move(name), kind});
        }
        return entries;
    }

    bool CreateFolder(const std::string& path) override {
        return ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
    }

    bool IsFolder(const std::string& path) override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    bool SyncFolderOf(const std::string& path) override {
        int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return false;
        const bool synced = ::fsync(fd) == 0;
        ::close(fd);
        return synced;
    }

    void* LoadLibrary(const std::string& name) override {
        return ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    }

    void* FindSymbol(void* library, const char* symbol) override { return ::dlsym(library, symbol); }
};

}  // namespace

Env& LinuxEnv() {
    static PosixEnv env;
    return env;
}

Env& CurrentEnv() { return g_override != nullptr ? *g_override : LinuxEnv(); }

void SetEnv(Env* env) { g_override = env; }

}  // namespace zv
