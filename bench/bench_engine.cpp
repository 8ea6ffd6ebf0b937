// The whole analysis of an eleven-arch two-centred dam with the default
// internal refinement: mesh, rock, loads, solution, results and both files.
#include <benchmark/benchmark.h>

#include "../tests/test_engine_support.h"
#include "engine/Engine.h"
#include "engine/Output.h"

static void BM_AnalyseTwoCentredElevenArches(benchmark::State& state)
{
    const velta::CaseModel m = velta::test::caseTwoCentres();
    for (auto _ : state) {
        const auto r = velta::engine::analyse(m);
        const std::string out = velta::engine::composeOut(m, r) + velta::engine::composePlt(m, r);
        benchmark::DoNotOptimize(out.data());
        state.counters["nodes"] = r.nodes;
    }
}
BENCHMARK(BM_AnalyseTwoCentredElevenArches)->Unit(benchmark::kMillisecond);
