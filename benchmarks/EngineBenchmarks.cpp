// The engine's costs: escaping a word, loading the shipped configuration with every service, one
// whole lookup through the manager; and the keyboard hook's recogniser.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <benchmark/benchmark.h>

#include "foundation/config/Environment.h"
#include "foundation/text/Utf.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/service/WordEncoding.h"
#include "translate/target/RequestDisplayTarget.h"
#include "tray/HotKeyRecognizer.h"

namespace {
// Runs on the shipped locale folder with a registry file of its own.
struct ShippedProgram {
    ShippedProgram()
    {
        const std::string registry = (std::filesystem::temp_directory_path() / "vocabra-benchmark.reg").string();
        ::setenv("VOCABRA_REGISTRY", registry.c_str(), 1);
        SetModuleDirectoryOverride(text::Utf8ToUtf16(VOCABRA_SOURCE_DIR));
    }
};
// If this throws, the program ends before main with the exception named: nothing to catch it for.
const ShippedProgram g_program;  // NOLINT(cert-err58-cpp)

class DiscardingTarget final : public translate::target::RequestDisplayTarget {
public:
    void ShowUrl(const std::u16string& url,
                 const translate::Direction&,
                 const translate::target::DisplaySettings&) override
    {
        benchmark::DoNotOptimize(url.data());
    }
};

constexpr std::u16string_view kTwentyCharacters =
    u"\u0434\u043E\u0441\u0442\u043E\u043F\u0440\u0438\u043C\u0435"
    u"\u0447\u0430\u0442\u0435\u043B\u044C\u043D\u043E\u0441\u0442";

void EncodeWordsUtf8(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state)
        benchmark::DoNotOptimize(translate::service::EncodeUtf8Percent(kTwentyCharacters));
}
BENCHMARK(EncodeWordsUtf8);

void EncodeWordsUtf16(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state)
        benchmark::DoNotOptimize(translate::service::EncodeUtf16Percent(kTwentyCharacters));
}
BENCHMARK(EncodeWordsUtf16);

void LoadShippedConfigurationAndServices(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        translate::manager::DictionaryManager manager;
        manager.Initialize();
        if (manager.m_services.size() != 8)
            state.SkipWithError("a shipped service was rejected");
    }
}
BENCHMARK(LoadShippedConfigurationAndServices)->Unit(benchmark::kMicrosecond);

void LookupThroughTheManager(benchmark::State& state)
{
    translate::manager::DictionaryManager manager;
    manager.Initialize();
    DiscardingTarget target;
    const std::u16string word(kTwentyCharacters);
    for ([[maybe_unused]] auto _ : state)
        manager.Translate(word, u"ru-en", target);
}
BENCHMARK(LookupThroughTheManager);

// The keyboard hook's decision for one key event: a mix of ignored keys, first presses and
// double presses.
void RecogniseKeyEvent(benchmark::State& state)
{
    tray::HotKeyRecognizer recognizer;
    std::uint32_t time = 0;
    const std::uint32_t keys[] = {0x41, tray::kVirtualKeyC, tray::kVirtualKeyC, tray::kVirtualKeyInsert};
    std::size_t next = 0;
    for ([[maybe_unused]] auto _ : state) {
        time += 300;
        benchmark::DoNotOptimize(recognizer.OnKeyEvent(tray::kKeyUpMessage, keys[next], true, time));
        next = (next + 1) % 4;
    }
}
BENCHMARK(RecogniseKeyEvent);
}  // namespace

BENCHMARK_MAIN();
