// Time per operation of the core: compile, decode and window fill, configuration save and load, the typing filter.
#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "shell/Program.h"

#include <benchmark/benchmark.h>

#include <array>
#include <fstream>
#include <iterator>
#include <string>

namespace
{

using qm::forms::Mode;

constexpr std::array<const char*, qm::forms::kModeCount> kExamples{"telemetry", "beacon", "nmea", "tracking", "alarm"};

std::string readExample(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name + ".vq3", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

/// The program model with every example in its memory files, one of them opened.
struct Loaded
{
    qm::fakes::MemoryFileSystem files;
    qm::fakes::ScriptedUi ui;
    qm::shell::Program program{files, ui, {}};
    std::string path;

    explicit Loaded(int mode)
    {
        for (const char* name : kExamples)
            files.files[std::string("/examples/") + name + ".vq3"] = readExample(name);
        program.session().startUp();
        path = std::string("/examples/") + kExamples[static_cast<std::size_t>(mode)] + ".vq3";
        program.session().openConfigurationFile(path);
    }
};

void nameByMode(benchmark::State& state)
{
    state.SetLabel(kExamples[static_cast<std::size_t>(state.range(0))]);
}

void BM_CheckAndCompile(benchmark::State& state)
{
    Loaded loaded(static_cast<int>(state.range(0)));
    std::size_t streamSize = 0;
    for (auto _ : state) {
        auto compiled = loaded.program.session().checkAndCompile();
        streamSize = compiled.downloadImage.size();
        benchmark::DoNotOptimize(compiled);
    }
    if (streamSize != 129)
        state.SkipWithError("the example does not compile");
    nameByMode(state);
}

void BM_DecodeAndFill(benchmark::State& state)
{
    Loaded loaded(static_cast<int>(state.range(0)));
    auto& form = loaded.program.session();
    const std::string stream = form.checkAndCompile().downloadImage;
    const std::string upload = stream.empty() ? std::string{} : stream.substr(1);
    if (upload.size() != 128)
        state.SkipWithError("the example does not compile");
    for (auto _ : state) {
        form.decodeUpload(upload);
        benchmark::ClobberMemory();
    }
    nameByMode(state);
}

void BM_SaveConfiguration(benchmark::State& state)
{
    Loaded loaded(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto error = loaded.program.session().saveConfigurationFile("/saved.vq3");
        benchmark::DoNotOptimize(error);
    }
    if (loaded.files.files["/saved.vq3"].empty())
        state.SkipWithError("nothing saved");
    nameByMode(state);
}

void BM_LoadConfiguration(benchmark::State& state)
{
    Loaded loaded(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto outcome = loaded.program.session().openConfigurationFile(loaded.path);
        benchmark::DoNotOptimize(outcome);
    }
    nameByMode(state);
}

/// A paste of 10 000 characters into a field, through its typing filter and limit.
void BM_TypingFilterOnLongPaste(benchmark::State& state)
{
    Loaded loaded(static_cast<int>(Mode::Tracking));
    const std::array<std::string, 3> controls{"TrkComments", "TelMySSID", "TrkMyCall"};
    const std::string& control = controls[static_cast<std::size_t>(state.range(0))];
    std::u32string paste;
    for (int i = 0; i < 10'000; ++i)
        paste.push_back(static_cast<char32_t>(U"aZ9 ,\u00e9\u20ac-7"[i % 9]));
    for (auto _ : state) {
        auto entered = loaded.program.enterText(control, {0, 0, paste});
        benchmark::DoNotOptimize(entered);
    }
    state.SetLabel(control);
}

BENCHMARK(BM_CheckAndCompile)->DenseRange(0, qm::forms::kModeCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeAndFill)->DenseRange(0, qm::forms::kModeCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveConfiguration)->DenseRange(0, qm::forms::kModeCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadConfiguration)->DenseRange(0, qm::forms::kModeCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypingFilterOnLongPaste)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
