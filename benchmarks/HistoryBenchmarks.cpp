// The lookup history read at start: a full file of 5,000 entries, from disk and parsed (the goal
// is below 10 ms).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tray/HistoryFile.h"

namespace {

void LoadFullHistory(benchmark::State& state)
{
    std::vector<tray::HistoryEntry> entries;
    for (int i = 0; i < static_cast<int>(tray::kMaxHistoryEntries); ++i) {
        const std::string number = std::to_string(i);
        entries.push_back(
            {u"слово " + std::u16string(number.begin(), number.end()), u"ru-en", u"Lingvo", 1796744683 - i * 60});
    }
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("vocabra-history-benchmark-" + std::to_string(::getpid()) + ".tsv");
    if (!tray::SaveHistory(file.string(), entries)) {
        state.SkipWithError("cannot write the history file");
        return;
    }
    for ([[maybe_unused]] auto _ : state)
        benchmark::DoNotOptimize(tray::LoadHistory(file.string()));
    std::filesystem::remove(file);
}
BENCHMARK(LoadFullHistory)->Unit(benchmark::kMillisecond);

}  // namespace
