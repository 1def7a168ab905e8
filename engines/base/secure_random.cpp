#include "base/secure_random.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>

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
    int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    while (fd >= 0 && got < size) {
        ssize_t n = ::read(fd, out + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (fd >= 0) ::close(fd);
}

}  // namespace zv::engine
