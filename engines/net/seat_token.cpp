#include "net/seat_token.h"

#include <cstddef>
#include <sstream>
#include <vector>

#include "app/engine_paths.h"
#include "base/secure_random.h"
#include "config/file_io.h"

namespace zv::engine {
namespace {

constexpr std::size_t kTokenBytes = 16;

struct TokenLine {
    std::string server, name, token;
};

// "HOST:PORT NAME TOKEN"; false for anything else.
bool ParseTokenLine(const std::string& line, TokenLine& parsed) {
    std::istringstream in(line);
    std::string extra;
    if (!(in >> parsed.server >> parsed.name >> parsed.token) || (in >> extra)) return false;
    return parsed.server.find(':') != std::string::npos && IsPlainName(parsed.name) &&
           IsSeatToken(parsed.token);
}

std::vector<TokenLine> ReadTokenLines(const std::string& path) {
    std::vector<TokenLine> lines;
    auto bytes = ReadWholeFile(path);
    if (!bytes) return lines;
    for (const std::string& line : SplitLines(*bytes)) {
        TokenLine parsed;
        if (ParseTokenLine(line, parsed)) lines.push_back(parsed);
    }
    return lines;
}

}  // namespace

std::string NewSeatToken() {
    unsigned char bytes[kTokenBytes];
    SecureRandomBytes(bytes, kTokenBytes);
    static const char kHex[] = "0123456789abcdef";
    std::string token;
    for (unsigned char b : bytes) {
        token += kHex[b >> 4];
        token += kHex[b & 0x0F];
    }
    return token;
}

bool IsSeatToken(const std::string& word) {
    if (word.size() != 2 * kTokenBytes) return false;
    for (char c : word)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

bool SameSeatToken(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        difference = static_cast<unsigned char>(difference | (a[i] ^ b[i]));
    return difference == 0;
}

std::string SeatTokenPath(const std::string& baseDir) { return JoinPath(baseDir, "zvclient.tok"); }

std::string ServerKey(const std::string& host, int port) { return host + ":" + std::to_string(port); }

std::string ReadSeatToken(const std::string& path, const std::string& server, const std::string& name) {
    for (const TokenLine& line : ReadTokenLines(path))
        if (line.server == server && line.name == name) return line.token;
    return {};
}

std::string KeepSeatToken(const std::string& path, const std::string& server, const std::string& name,
                          const std::string& token) {
    std::string text;
    for (const TokenLine& line : ReadTokenLines(path))
        if (line.server != server || line.name != name)
            text += line.server + " " + line.name + " " + line.token + "\n";
    if (IsSeatToken(token) && server.find_first_of(" \t\r\n") == std::string::npos)
        text += server + " " + name + " " + token + "\n";
    if (SaveFileAtomically(path, text) != SaveResult::Saved) return path + ": cannot write the seat token";
    return {};
}

}  // namespace zv::engine
