// The whole analysis of an eleven-arch two-centred dam (weight on
// independent cantilevers, so two factorisations): mesh, rock, loads,
// solution, results and both files, at the default level and the finer
// ones. CPU time is the process's (both factorisation threads); the peak
// resident memory is a counter.
#include <benchmark/benchmark.h>

#include "../tests/test_engine_support.h"
#include "bench_memory.h"
#include "engine/Engine.h"
#include "engine/Output.h"

// The whole analysis of a case with both files composed, and the mesh's
// size and the peak memory as counters.
static void analyseAndCompose(benchmark::State& state, const velta::CaseModel& m,
                              const velta::engine::EngineOptions& options)
{
    for (auto _ : state) {
        const auto r = velta::engine::analyse(m, options);
        const std::string out = velta::engine::composeOut(m, r) + velta::engine::composePlt(m, r);
        benchmark::DoNotOptimize(out.data());
        state.counters["nodes"] = r.nodes;
        state.counters["equations"] = r.equations;
    }
    state.counters["peak_MiB"] = velta::bench::peakMemoryMiB();
}

static void BM_AnalyseTwoCentredElevenArches(benchmark::State& state)
{
    velta::engine::EngineOptions options;
    options.level = int(state.range(0));
    analyseAndCompose(state, velta::test::caseTwoCentres(), options);
}
BENCHMARK(BM_AnalyseTwoCentredElevenArches)
    ->DenseRange(1, 3)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The same whole analysis of T1 (the cylinder test dam) at the default
// level with each rock model: Vogt's springs, rigid rock, and the meshed
// elastic block (its default depth, more than twice the equations); the
// argument is the rock model: 0 Vogt, 1 rigid, 2 block.
static void BM_AnalyseT1Rock(benchmark::State& state)
{
    velta::engine::EngineOptions options;
    options.rock = velta::engine::RockModel(state.range(0));
    analyseAndCompose(state, velta::test::caseT1(), options);
}
BENCHMARK(BM_AnalyseT1Rock)
    ->Arg(int(velta::engine::RockModel::Vogt))
    ->Arg(int(velta::engine::RockModel::Rigid))
    ->Arg(int(velta::engine::RockModel::Block))
    ->ArgName("rock")
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
