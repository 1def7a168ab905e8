#pragma once
// A porting layer that makes saves fail at a chosen step; every other call
// reaches the real system. Installs itself for its lifetime.
//
// Create: nothing can be created or opened for writing, nor appended to.
// Write: writing the temporary file (or a file made empty to be written)
// fails, and so does every append. Rename: the temporary file cannot replace the
// target. NoTemporary: no temporary file can be created beside the target
// (the file itself can still be rewritten in place). NoTemporaryWrite: as
// NoTemporary, and the rewrite in place fails after half of the new bytes
// were written (putting the old bytes back works).
#include <memory>
#include <string>

#include "platform/env.h"

namespace zv::test {

enum class SaveFault { None, Create, Write, Rename, NoTemporary, NoTemporaryWrite };

class FaultInjectionEnv : public EnvWrapper {
public:
    FaultInjectionEnv() : EnvWrapper(LinuxEnv()) { SetEnv(this); }
    ~FaultInjectionEnv() override { SetEnv(nullptr); }

    // The fault of the saves from now on.
    void Inject(SaveFault fault) { fault_ = fault; }

    std::unique_ptr<WritableFile> CreateTemporaryBeside(const std::string& target, std::string& path,
                                                        CreateFailure& failure) override {
        if (fault_ == SaveFault::Create || fault_ == SaveFault::NoTemporary ||
            fault_ == SaveFault::NoTemporaryWrite) {
            failure = CreateFailure::Refused;
            return nullptr;
        }
        auto file = EnvWrapper::CreateTemporaryBeside(target, path, failure);
        if (file && fault_ == SaveFault::Write) return std::make_unique<FailingFile>(std::move(file), false);
        return file;
    }

    std::unique_ptr<WritableFile> OpenForRewrite(const std::string& path) override {
        if (fault_ == SaveFault::Create) return nullptr;
        auto file = EnvWrapper::OpenForRewrite(path);
        if (file && fault_ == SaveFault::NoTemporaryWrite)
            return std::make_unique<FailingFile>(std::move(file), true);
        return file;
    }

    std::unique_ptr<WritableFile> CreateEmptyFile(const std::string& path) override {
        if (fault_ == SaveFault::Create) return nullptr;
        auto file = EnvWrapper::CreateEmptyFile(path);
        if (file && fault_ == SaveFault::Write) return std::make_unique<FailingFile>(std::move(file), false);
        return file;
    }

    bool AppendToFile(const std::string& path, const std::string& bytes) override {
        if (fault_ == SaveFault::Create || fault_ == SaveFault::Write) return false;
        return EnvWrapper::AppendToFile(path, bytes);
    }

    bool RenameFile(const std::string& from, const std::string& to) override {
        if (fault_ == SaveFault::Rename) return false;
        return EnvWrapper::RenameFile(from, to);
    }

private:
    // Fails its first write: without writing anything, or after writing the
    // first half of the bytes. Later writes reach the file.
    class FailingFile : public WritableFile {
    public:
        FailingFile(std::unique_ptr<WritableFile> file, bool half) : file_(std::move(file)), half_(half) {}
        bool WriteAt(const std::string& bytes, std::uint64_t offset) override {
            if (failed_) return file_->WriteAt(bytes, offset);
            failed_ = true;
            if (half_) file_->WriteAt(bytes.substr(0, bytes.size() / 2), offset);
            return false;
        }
        bool Truncate(std::uint64_t size) override { return file_->Truncate(size); }
        bool Sync() override { return file_->Sync(); }
        std::optional<std::string> ReadAll() override { return file_->ReadAll(); }
        bool Close() override { return file_->Close(); }

    private:
        std::unique_ptr<WritableFile> file_;
        bool half_;
        bool failed_ = false;
    };

    SaveFault fault_ = SaveFault::None;
};

}  // namespace zv::test
