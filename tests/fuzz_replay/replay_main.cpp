// Replays a fuzz target's corpus without the fuzzing engine: every file below
// the folders (or the files) named on the command line is given once to the
// target's entry point. A crash, a sanitizer report or a failed check in the
// target fails the run; otherwise it prints how many inputs it gave.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int RunOne(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // An empty input is given as a valid pointer with size 0, as libFuzzer does.
    static const std::uint8_t kNothing = 0;
    const auto* data = bytes.empty() ? &kNothing : reinterpret_cast<const std::uint8_t*>(bytes.data());
    LLVMFuzzerTestOneInput(data, bytes.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...\n", argv[0]);
        return 2;
    }
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        const std::filesystem::path root = argv[i];
        if (std::filesystem::is_regular_file(root, error)) {
            if (RunOne(root) != 0) return 1;
            ++inputs;
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error))
            if (entry.is_regular_file()) files.push_back(entry.path());
        if (error) {
            std::fprintf(stderr, "cannot list %s: %s\n", argv[i], error.message().c_str());
            return 1;
        }
        // Sorted, so that a failing run can be repeated input by input.
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            if (RunOne(file) != 0) return 1;
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
