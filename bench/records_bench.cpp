// Speed of the results reader, the ranking and the game-record search.
//
//   records_bench [--data DIR] [--generate-only] [benchmark options]
//
// The data (a results file of one million lines, 1,000 players with results,
// a tree of 100,000 files) is generated into DIR, or into a temporary folder
// that is removed afterwards. --generate-only writes the data and stops, so
// that compare-records.sh can time the system tools on the same files.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "platform/platform.h"
#include "records/game_records.h"
#include "records/ranking.h"
#include "records/results.h"

namespace fs = std::filesystem;

namespace {

constexpr int kResultsLines = 1000000;
constexpr int kRankingPlayers = 1000;
constexpr int kTreeFiles = 100000;

std::string g_dataDir;

class BenchPlatform : public zv::LinuxPlatform {
public:
    std::string InstallDir() const override { return installDir; }
    std::string installDir;
};

void WriteResultsFile(const std::string& path, int lines, unsigned seed) {
    std::mt19937 random(seed);
    std::ofstream out(path, std::ios::binary);
    std::string text;
    text.reserve(1 << 20);
    for (int i = 0; i < lines; ++i) {
        if (i % 2 == 0) {
            text += "result: " + std::to_string(1 + random() % 4) + " " +
                    std::to_string(int(random() % 120) - 60) + " " + std::to_string(random() % 5) +
                    " 12 3 4 " + std::to_string(random() % 8000) + " 2 " + std::to_string(random() % 12000) +
                    " 1 " + std::to_string(random() % 8000) + " 1\r\n";
        } else {
            std::string digits(zv::kYakuCount, '0');
            for (int k = 0; k < 3; ++k) digits[random() % zv::kYakuCount] = char('1' + random() % 3);
            text += "yaku: " + digits + "\r\n";
        }
        if (text.size() > (1 << 20) - 200) {
            out << text;
            text.clear();
        }
    }
    out << text;
}

void Generate(const std::string& dir) {
    // 1. One results file of a million lines.
    fs::create_directories(dir + "/results/usr/big");
    WriteResultsFile(dir + "/results/usr/big/zvclient.res", kResultsLines, 1);

    // 2. 1,000 players with small results files, beside the shared folder.
    fs::create_directories(dir + "/ranking/usr/_default");
    for (int p = 0; p < kRankingPlayers; ++p) {
        std::string player = dir + "/ranking/usr/player" + std::to_string(p);
        fs::create_directories(player);
        WriteResultsFile(player + "/zvclient.res", 40, static_cast<unsigned>(p));
    }

    // 3. A tree of 100,000 files: 100 players x 10 folders x 100 files, one
    // in five of them a record.
    int written = 0;
    for (int p = 0; p < 100; ++p) {
        for (int f = 0; f < 10; ++f) {
            std::string folder = dir + "/tree/usr/user" + std::to_string(p) + "/games" + std::to_string(f);
            fs::create_directories(folder);
            for (int n = 0; n < 100; ++n, ++written) {
                std::string name = folder + "/game" + std::to_string(n) + (n % 5 == 0 ? ".fu" : ".txt");
                std::ofstream(name, std::ios::binary) << "x";
            }
        }
    }
}

void BM_ReadResults(benchmark::State& state) {
    BenchPlatform platform;
    platform.installDir = g_dataDir + "/results/";
    zv::SetPlatform(&platform);
    std::int64_t bytes =
        static_cast<std::int64_t>(fs::file_size(g_dataDir + "/results/usr/big/zvclient.res"));
    for (auto _ : state) {
        zv::PlayerResults results;
        if (!zv::ReadResults(results, "big", true)) state.SkipWithError("cannot read the results file");
        benchmark::DoNotOptimize(results);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    zv::SetPlatform(nullptr);
}
BENCHMARK(BM_ReadResults)->Unit(benchmark::kMillisecond);

void BM_FillRanking(benchmark::State& state) {
    BenchPlatform platform;
    platform.installDir = g_dataDir + "/ranking/";
    zv::SetPlatform(&platform);
    for (auto _ : state) {
        std::string header = zv::RankingHeader();
        auto rows = zv::CollectRankingRows(true);
        if (rows.size() != kRankingPlayers) state.SkipWithError("wrong number of rows");
        benchmark::DoNotOptimize(header);
        benchmark::DoNotOptimize(rows);
    }
    zv::SetPlatform(nullptr);
}
BENCHMARK(BM_FillRanking)->Unit(benchmark::kMillisecond);

void BM_CollectRecords(benchmark::State& state) {
    for (auto _ : state) {
        auto found = zv::CollectRecordFiles(g_dataDir + "/tree/usr");
        if (found.size() != kTreeFiles / 5) state.SkipWithError("wrong number of records");
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_CollectRecords)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    std::string dataDir;
    bool generateOnly = false;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
            dataDir = argv[++i];
        } else if (std::strcmp(argv[i], "--generate-only") == 0) {
            generateOnly = true;
        } else {
            rest.push_back(argv[i]);
        }
    }
    bool temporary = dataDir.empty();
    if (temporary) {
        std::string pattern = (fs::temp_directory_path() / "zvbench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return 1;
        dataDir = pattern;
    }
    g_dataDir = dataDir;
    if (!fs::exists(dataDir + "/tree/usr")) Generate(dataDir);
    if (generateOnly) return 0;

    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (temporary) fs::remove_all(dataDir);
    return 0;
}
