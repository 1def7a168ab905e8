// The nuc reader on a launch.nuc as the launcher writes it, and on a long
// file of definitions with nested lists.
#include <benchmark/benchmark.h>

#include <string>

#include "config/launcher_settings.h"
#include "config/nuclear.h"

namespace {

std::string WrittenLaunchNuc() {
    zv::LauncherSettings settings;
    std::string text;
    for (const auto& line : zv::LaunchNucLines(settings)) text += line + "\r\n";
    return text;
}

std::string LongFile(int forms) {
    std::string text;
    for (int i = 0; i < forms; ++i) {
        text += "(define key" + std::to_string(i) + " \"値 value " + std::to_string(i) + "\")\r\n";
        text += "(define list" + std::to_string(i) + " ((\"a\" \"b\") (\"c\" 12) sym $1F -7))  # comment\r\n";
    }
    return text;
}

void ReadAll(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        zv::NucOpen(text);
        int forms = 0;
        while (zv::NucRead() != nullptr) ++forms;
        benchmark::DoNotOptimize(forms);
        zv::NucReleaseAllForTesting();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void BM_NucParseLaunchNuc(benchmark::State& state) { ReadAll(state, WrittenLaunchNuc()); }
BENCHMARK(BM_NucParseLaunchNuc);

void BM_NucParseLongFile(benchmark::State& state) {
    ReadAll(state, LongFile(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_NucParseLongFile)->Arg(100)->Arg(5000);

void BM_ApplyLaunchNuc(benchmark::State& state) {
    const std::string text = WrittenLaunchNuc();
    for (auto _ : state) {
        zv::LauncherSettings settings;
        zv::ApplyLaunchNuc(settings, text);
        benchmark::DoNotOptimize(settings.count);
        zv::NucReleaseAllForTesting();
    }
}
BENCHMARK(BM_ApplyLaunchNuc);

}  // namespace
