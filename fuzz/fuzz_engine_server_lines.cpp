// The network game's line reader on both sides: bytes as a peer sends them
// (split at arbitrary points, with over-long lines and stray CRs), cut into
// lines and read as the server reads a client's lines and as a client reads
// the server's. Nothing may crash; what reads as a client's line must read
// the same after being written again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/net_lines.h"
#include "net/net_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zv::engine;
    namespace riichi = zv::riichi;
    if (size == 0) return 0;
    // The first byte sets the size of the pieces the bytes arrive in.
    std::size_t piece = 1 + data[0] % 64;
    const char* bytes = reinterpret_cast<const char*>(data) + 1;
    std::size_t left = size - 1;
    LineReader reader;
    std::vector<std::string> lines;
    while (left > 0) {
        std::size_t n = std::min(piece, left);
        if (!reader.Feed(bytes, n, lines)) break;  // a line too long: the peer is dropped
        bytes += n;
        left -= n;
    }
    EndReader ends;
    riichi::SeatView view;
    for (const std::string& line : lines) {
        if (line.size() > kMaxLineLength || line.find('\n') != std::string::npos) std::abort();
        ClientLine c = ParseClientLine(line);
        if (c.kind == ClientLine::Kind::Bad && c.error.empty()) std::abort();
        if (c.kind == ClientLine::Kind::Act) {
            riichi::Action again;
            if (!ParseActionWord(ActionWord(c.action), again) || !(again == c.action)) std::abort();
        }
        if (c.kind == ClientLine::Kind::Join) {
            JoinRequest again;
            if (!ParseJoinLine(JoinLine(c.join), again) || JoinLine(again) != JoinLine(c.join)) std::abort();
        }
        // What a client makes of the same line coming from a server.
        riichi::TableEvent event;
        if (ParseEventLine(line, event) && !ParseEventLine(EventLine(event), event)) std::abort();
        if (ParseViewLine(line, view)) {
            riichi::SeatView back;
            if (!ParseViewLine(ViewLine(view), back) || ViewLine(back) != ViewLine(view)) std::abort();
        }
        Ask ask;
        ParseAskLine(line, ask);
        bool complete = false, bad = false;
        if (ends.Take(line, complete, bad) && complete) HandEndLines(ends.result());
    }
    return 0;
}
