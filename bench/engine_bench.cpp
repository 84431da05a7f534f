// Commands per second through CalcEngine::HandleCommand on an office sequence:
// AC, a price times a quantity, =, = again, M+, tax-included, GT.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string_view>

#include "engine/calc_engine.h"
#include "engine/memory_platform.h"

namespace {

// 12 x 128,500 = 1,542,000; = again 18,504,000 (the multiplicand is the constant); M+;
// tax-included; GT. AC opens each round so that memory and grand total never overflow.
constexpr std::string_view OfficeSequence = "A12*128500==PZG";

// Whether every command of one round was carried out and the round ended without error
// on the expected grand total.
bool RoundIsAsExpected(CalcEngine& engine) {
    for (const char command : OfficeSequence) {
        if (engine.HandleCommand(command) == 0) {
            std::fprintf(stderr, "engine_bench: command %c refused\n", command);
            return false;
        }
    }
    char text[FormatBufferSize];
    engine.display.Format(text, sizeof(text), false);
    // GT holds the two results of =.
    if (engine.state == EngineState::Error || std::string_view(text) != "20046000") {
        std::fprintf(stderr, "engine_bench: the round ends on %s\n", text);
        return false;
    }
    return true;
}

void OfficeSequenceCommands(benchmark::State& state) {
    MemoryPlatform platform(SystemClock().Today());
    CalcEngine engine(platform.Get());
    if (!RoundIsAsExpected(engine)) {
        state.SkipWithError("the office sequence does not run as expected");
        return;
    }
    for (auto _ : state) {
        for (const char command : OfficeSequence) {
            benchmark::DoNotOptimize(engine.HandleCommand(command));
        }
    }
    benchmark::DoNotOptimize(engine.display);
    state.SetItemsProcessed(state.iterations() *
                            static_cast<std::int64_t>(OfficeSequence.size()));
}

}  // namespace

BENCHMARK(OfficeSequenceCommands);
BENCHMARK_MAIN();
