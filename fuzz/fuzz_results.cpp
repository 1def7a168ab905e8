// The results reader two ways: the whole-file reader (which reads in large
// blocks and looks at 64 bytes at a time) and the line-by-line reader must
// give the same totals for any file. The file lives in memory-backed
// storage and is rewritten for every input.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "records/results.h"

namespace {

std::string ScratchPath() {
    const char* folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/zvfuzz-results-" + std::to_string(::getpid()) + ".res";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath();
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) return 0;
    }
    zv::PlayerResults whole;
    whole.games = -1;  // must be replaced
    if (!zv::ReadResultsFile(path, whole)) std::abort();
    ::unlink(path.c_str());

    zv::PlayerResults lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        zv::AddResultsLine(bytes.substr(start, end - start), lines);
        start = end + 1;
    }
    if (!(whole == lines)) std::abort();

    for (std::int32_t count : whole.yaku)
        if (count < 0) std::abort();
    zv::StatisticsTexts("p", whole);
    zv::YakuListLines(whole);
    return 0;
}
