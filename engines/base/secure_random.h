#pragma once
// Bytes from the system's secure random source, for what a player must not
// be able to guess: the walls of the next game, a seat's token.
#include <cstddef>

namespace zv::engine {

// Fills `size` bytes at `bytes` from getrandom(2), else from /dev/urandom.
void SecureRandomBytes(void* bytes, std::size_t size);

}  // namespace zv::engine
