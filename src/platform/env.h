#pragma once
// The porting layer for files, folders and shared libraries: every such call
// of the core goes through one Env. The class is abstract; LinuxEnv
// (CurrentEnv's default) is the implementation for this system, and tests put
// an EnvWrapper in its place that changes only what they need, such as a
// fault at one step of a save. A port to another system adds one
// implementation beside the Linux one.
//
// No call throws; failures are told by the results as each call describes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zv {

// A file being written: a save's temporary file, or a file rewritten in
// place. Closed when destroyed if Close was not called.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    // Writes all of `bytes` at `offset`. False when not all could be written.
    virtual bool WriteAt(const std::string& bytes, std::uint64_t offset) = 0;
    // Cuts (or extends) the file to `size` bytes.
    virtual bool Truncate(std::uint64_t size) = 0;
    // Flushes what was written to the disk.
    virtual bool Sync() = 0;
    // The whole present content, read from the start; nothing when it cannot
    // be read completely.
    virtual std::optional<std::string> ReadAll() = 0;
    // Closes the file; false when the system reports an error (a write that
    // failed late). Later calls do nothing and return true.
    virtual bool Close() = 0;
};

// A file being read, sequentially and at offsets (several threads may read
// at offsets at once).
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // Reads up to `size` bytes from the file position: the count read, 0 at
    // the end, -1 on an error.
    virtual std::int64_t Read(char* buffer, std::size_t size) = 0;
    // The same at `offset`, leaving the file position alone.
    virtual std::int64_t ReadAt(char* buffer, std::size_t size, std::uint64_t offset) = 0;
    // The size of a regular file; nothing for pipes, devices and the like.
    virtual std::optional<std::uint64_t> RegularFileSize() = 0;
    // Moves the file position; false when it cannot.
    virtual bool Seek(std::uint64_t offset) = 0;
};

// The rest of a file from its position; nothing when it cannot be read.
inline std::optional<std::string> ReadToEnd(ReadableFile& file) {
    std::string bytes;
    char chunk[16384];
    for (;;) {
        const std::int64_t got = file.Read(chunk, sizeof chunk);
        if (got < 0) return std::nullopt;
        if (got == 0) return bytes;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

// What kind of entry a folder holds under a name. A link counts as what it
// points at, except that a link to a folder is Other, so that a walk down a
// tree never runs in circles.
enum class EntryKind {
    File,    // anything that is not a folder
    Folder,  // a folder itself
    Other,   // a link to a folder, a broken link, or an entry that cannot be examined
};

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Other;
};

class Env {
public:
    virtual ~Env() = default;

    // Files ------------------------------------------------------------
    // Opens a file for reading; null when it does not exist or cannot be read.
    virtual std::unique_ptr<ReadableFile> OpenForReading(const std::string& path) = 0;

    // Why a new file could not be made.
    enum class CreateFailure {
        None,
        Refused,  // the folder takes no new files (no permission)
        Other,    // a missing folder, a full disk, ...
    };
    // Creates a new, empty temporary file in the folder of `target`, whose
    // name begins with the target's, with the permissions of the file
    // `target` (0644 when it does not exist). `path` receives its name.
    virtual std::unique_ptr<WritableFile> CreateTemporaryBeside(const std::string& target, std::string& path,
                                                                CreateFailure& failure) = 0;
    // Opens an existing regular file for rewriting in place (links are not
    // followed); null when it cannot be.
    virtual std::unique_ptr<WritableFile> OpenForRewrite(const std::string& path) = 0;
    // Creates a file at `path` (0644), or empties the regular file there,
    // for writing from the start; null when it cannot be.
    virtual std::unique_ptr<WritableFile> CreateEmptyFile(const std::string& path) = 0;
    // Adds all of `bytes` at the end of a file, created (0644) when missing.
    // False when not all could be written.
    virtual bool AppendToFile(const std::string& path, const std::string& bytes) = 0;
    // Renames `from` over `to`, replacing it in one step.
    virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Whether there is an entry under `path`; a broken link counts.
    virtual bool Exists(const std::string& path) = 0;

    // Folders ------------------------------------------------------------
    // The entries of a folder ("." and ".." left out), in the system's
    // order; nothing when it cannot be read.
    virtual std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) = 0;
    // Creates one folder; true also when it exists already.
    virtual bool CreateFolder(const std::string& path) = 0;
    // Whether `path` is a folder or a link to one.
    virtual bool IsFolder(const std::string& path) = 0;
    // Flushes the folder holding `path` to the disk, so that a rename or a
    // removal in it lasts.
    virtual bool SyncFolderOf(const std::string& path) = 0;

    // Shared libraries ---------------------------------------------------
    // Loads a shared library by its file name; null when it cannot be. A
    // library stays loaded to the end of the program.
    virtual void* LoadLibrary(const std::string& name) = 0;
    // The address of `symbol` in a loaded library, or null.
    virtual void* FindSymbol(void* library, const char* symbol) = 0;
};

// Forwards every call to another Env: the base of test doubles, which
// override only the calls they change.
class EnvWrapper : public Env {
public:
    explicit EnvWrapper(Env& target) : target_(target) {}
    Env& Target() const { return target_; }

    std::unique_ptr<ReadableFile> OpenForReading(const std::string& path) override {
        return target_.OpenForReading(path);
    }
    std::unique_ptr<WritableFile> CreateTemporaryBeside(const std::string& target, std::string& path,
                                                        CreateFailure& failure) override {
        return target_.CreateTemporaryBeside(target, path, failure);
    }
    std::unique_ptr<WritableFile> OpenForRewrite(const std::string& path) override {
        return target_.OpenForRewrite(path);
    }
    std::unique_ptr<WritableFile> CreateEmptyFile(const std::string& path) override {
        return target_.CreateEmptyFile(path);
    }
    bool AppendToFile(const std::string& path, const std::string& bytes) override {
        return target_.AppendToFile(path, bytes);
    }
    bool RenameFile(const std::string& from, const std::string& to) override {
        return target_.RenameFile(from, to);
    }
    bool RemoveFile(const std::string& path) override { return target_.RemoveFile(path); }
    bool Exists(const std::string& path) override { return target_.Exists(path); }
    std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) override {
        return target_.ListFolder(path);
    }
    bool CreateFolder(const std::string& path) override { return target_.CreateFolder(path); }
    bool IsFolder(const std::string& path) override { return target_.IsFolder(path); }
    bool SyncFolderOf(const std::string& path) override { return target_.SyncFolderOf(path); }
    void* LoadLibrary(const std::string& name) override { return target_.LoadLibrary(name); }
    void* FindSymbol(void* library, const char* symbol) override {
        return target_.FindSymbol(library, symbol);
    }

private:
    Env& target_;
};

// The system's own Env.
Env& LinuxEnv();

// The process-wide Env. Defaults to LinuxEnv().
Env& CurrentEnv();
// Replaces the process-wide Env (tests); nullptr restores the system's.
void SetEnv(Env* env);

}  // namespace zv
