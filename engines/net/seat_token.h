#pragma once
// The secret by which a player takes a left seat back. The server gives each
// seated player a token (WELCOME); a seat whose player is gone goes only to a
// JOIN that carries it. Clients keep their tokens in one file of the
// player's directory, <-B>/zvclient.tok, a line "HOST:PORT NAME TOKEN" per
// server and name, so that a restarted client joins its seat again.
#include <string>

namespace zv::engine {

// 128 bits from the secure random source as 32 lowercase hex digits.
std::string NewSeatToken();

// True for 32 lowercase hex digits.
bool IsSeatToken(const std::string& word);

// Compares two tokens in a time that does not depend on where they differ.
bool SameSeatToken(const std::string& a, const std::string& b);

// The token file in the player's directory.
std::string SeatTokenPath(const std::string& baseDir);

// "HOST:PORT", the server's key in the token file.
std::string ServerKey(const std::string& host, int port);

// The token kept for `server` and `name`, or nothing (no file, no line for
// them, or a malformed one).
std::string ReadSeatToken(const std::string& path, const std::string& server, const std::string& name);

// Keeps `token` for `server` and `name`: rewrites the file atomically with
// the lines of other servers and names as they were (malformed lines are
// left out). Returns a message when the file cannot be written.
std::string KeepSeatToken(const std::string& path, const std::string& server, const std::string& name,
                          const std::string& token);

}  // namespace zv::engine
