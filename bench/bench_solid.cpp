// The element library on a dam's solid model: assembly, CHOLMOD
// factorisation and one solution, at the refinement levels of the engine,
// with the process's peak memory and, once, the time CalculiX takes on the
// same mesh.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "../tests/test_engine_support.h"
#include "bench_memory.h"
#include "engine/DamAssembly.h"
#include "engine/solid/Calculix.h"
#include "engine/solid/Fem.h"

namespace {

using velta::bench::peakMemoryMiB;

void BM_SolidAssembleFactoriseSolve(benchmark::State& state)
{
    const velta::engine::DamAssembly a =
        velta::engine::buildSolidModel(velta::test::caseTwoCentres(), int(state.range(0)));
    for (auto _ : state) {
        const velta::engine::solid::Solver s(a.model);
        const Eigen::VectorXd u = s.solve(a.load);
        benchmark::DoNotOptimize(u.data());
        state.counters["equations"] = s.equations();
    }
    state.counters["nodes"] = double(a.model.nodes.size());
    state.counters["elements"] = double(a.model.elements.size());
    state.counters["peak_MiB"] = peakMemoryMiB();
}
BENCHMARK(BM_SolidAssembleFactoriseSolve)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

void BM_SolidAssembleOnly(benchmark::State& state)
{
    const velta::engine::DamAssembly a = velta::engine::buildSolidModel(velta::test::caseTwoCentres(), 1);
    for (auto _ : state) {
        const auto k = velta::engine::solid::assemble(a.model);
        benchmark::DoNotOptimize(k.valuePtr());
    }
}
BENCHMARK(BM_SolidAssembleOnly)->Unit(benchmark::kMillisecond);

// CalculiX on the same mesh (wedges with its 9-point rule), run once: the
// reported time is ccx's wall time, input writing and reading included.
void BM_CalculixSameMesh(benchmark::State& state)
{
    const std::string ccx = velta::engine::solid::findCalculix();
    if (ccx.empty()) {
        state.SkipWithError("CalculiX (ccx) not found");
        return;
    }
    velta::engine::DamAssembly a = velta::engine::buildSolidModel(velta::test::caseTwoCentres(), int(state.range(0)));
    a.model.wedgeRule = velta::engine::solid::WedgeRule::Points9;
    for (auto _ : state) {
        const auto r = velta::engine::solid::runCalculix(a.model, a.load, ccx);
        state.SetIterationTime(r.seconds);
    }
    state.counters["nodes"] = double(a.model.nodes.size());
}
BENCHMARK(BM_CalculixSameMesh)->Arg(1)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
