#include "base/secure_random.h"

#include <sys/random.h>

#include <cerrno>

#include "platform/env.h"

namespace zv::engine {

void SecureRandomBytes(void* bytes, std::size_t size) {
    auto* out = static_cast<unsigned char*>(bytes);
    std::size_t got = 0;
    while (got < size) {
        ssize_t n = ::getrandom(out + got, size - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got == size) return;
    std::unique_ptr<ReadableFile> source = CurrentEnv().OpenForReading("/dev/urandom");
    while (source && got < size) {
        const std::int64_t n = source->Read(reinterpret_cast<char*>(out + got), size - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
}

}  // namespace zv::engine
