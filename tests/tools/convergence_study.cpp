// Convergence of the engine's results with the refinement level, on the
// crown cantilever: every radial deflection on an arch level above the base
// and the hoop stress on both faces there, each level against the finest.
//
//   velta_convergence_study --levels 1,2[,3] CASE...
//
// CASE is a deck path, or T1 / T2C for the test dams built in code (the
// cylinder T1 and the eleven-arch two-centred dam). Each level is analysed
// in turn in this process; the finest comes last in --levels.
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "test_engine_support.h"

using namespace velta;

namespace {

struct Crown {
    std::vector<double> z, radial, up, down;
    int nodes = 0;
    double indicator = 0, equilibrium = 0;
};

Crown crownOf(const CaseModel& m, int level)
{
    engine::EngineOptions o;
    o.level = level;
    const engine::AnalysisResult r = engine::analyse(m, o);
    Crown c;
    c.nodes = r.nodes;
    c.indicator = r.stressError;
    c.equilibrium = (r.applied - r.reaction).norm() / std::max(r.applied.norm(), 1.0);
    for (const auto& cant : r.cantilevers) {
        if (std::abs(cant.angle) > 1e-9) continue;
        for (const auto& p : cant.points) {
            if (p.z <= cant.baseElev + 1e-6) continue; // the base row is a singular corner
            c.z.push_back(p.z);
            c.radial.push_back(p.radial);
            c.up.push_back(p.up.hoop);
            c.down.push_back(p.down.hoop);
        }
    }
    return c;
}

CaseModel caseNamed(const std::string& name)
{
    if (name == "T1") return test::caseT1();
    if (name == "T2C") return test::caseTwoCentres();
    return test::readDeck(name);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || std::string(argv[1]) != "--levels") {
        std::fprintf(stderr, "usage: velta_convergence_study --levels 1,2[,3] CASE...\n");
        return 2;
    }
    std::vector<int> levels;
    {
        std::stringstream ss(argv[2]);
        std::string t;
        while (std::getline(ss, t, ',')) levels.push_back(std::stoi(t));
    }
    for (int a = 3; a < argc; ++a) {
        const std::string name = argv[a];
        try {
            const CaseModel m = caseNamed(name);
            std::vector<Crown> runs;
            for (int l : levels) runs.push_back(crownOf(m, l));
            const Crown& fine = runs.back();
            double hoopMax = 0;
            for (size_t i = 0; i < fine.z.size(); ++i)
                hoopMax = std::max({hoopMax, std::abs(fine.up[i]), std::abs(fine.down[i])});
            std::printf("%s\n", name.c_str());
            for (size_t k = 0; k < runs.size(); ++k) {
                const Crown& c = runs[k];
                std::printf("  level %d: %d nodes, indicator %.2f %%, equilibrium %.1e\n", levels[k], c.nodes,
                            100 * c.indicator, c.equilibrium);
                for (size_t i = 0; i < c.z.size(); ++i)
                    std::printf("    z %8.2f  radial %10.6f  hoop up %8.1f  down %8.1f\n", c.z[i], c.radial[i],
                                c.up[i], c.down[i]);
            }
            for (size_t k = 0; k + 1 < runs.size(); ++k) {
                const Crown& c = runs[k];
                if (c.z.size() != fine.z.size()) {
                    std::printf("  level %d: grids differ\n", levels[k]);
                    continue;
                }
                double defl = 0, hoop = 0, zDefl = 0, zHoop = 0;
                for (size_t i = 0; i < c.z.size(); ++i) {
                    const double d = std::abs(c.radial[i] - fine.radial[i]) / std::abs(fine.radial[i]);
                    if (d > defl) defl = d, zDefl = c.z[i];
                    const double h = std::max(std::abs(c.up[i] - fine.up[i]), std::abs(c.down[i] - fine.down[i]));
                    if (h > hoop) hoop = h, zHoop = c.z[i];
                }
                std::printf("  RESULT %s level %d vs %d: nodes %d / %d, deflection %.2f %% (z %.0f), hoop %.2f %% of "
                            "%.1f psi (z %.0f), indicator %.1f / %.1f %%\n",
                            name.c_str(), levels[k], levels.back(), c.nodes, fine.nodes, 100 * defl, zDefl,
                            100 * hoop / hoopMax, hoopMax, zHoop, 100 * c.indicator, 100 * fine.indicator);
            }
            std::fflush(stdout);
        } catch (const std::exception& e) {
            std::printf("%s: %s\n", name.c_str(), e.what());
            return 1;
        }
    }
    return 0;
}
