// The rock block's depth against the crown's deflections: each case is
// analysed with Vogt's springs, rigid rock and the block at each depth (in
// dam heights), and the crown's radial deflection at the crest and on the
// lowest arch above the base is printed, with the model's size and time.
//
//   velta_rock_depth_study --depths 1,2,3 [--level N] [--er-of-ec X] [--crown all] CASE...
//
// --er-of-ec sets the rock's modulus to X times the concrete's; --crown all
// prints every arch level of the crown with its hoop stresses (psi,
// tension positive) on both faces.
//
// CASE is a deck path, or T1 / T2C for the test dams built in code.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "engine/DamAssembly.h"
#include "engine/Engine.h"
#include "engine/RockBlock.h"
#include "engine/solid/Fem.h"
#include "test_engine_support.h"

using namespace velta;

namespace {

bool allRows = false; // every arch level of the crown, with its hoop stresses

CaseModel caseNamed(const std::string& name)
{
    if (name == "T1") return test::caseT1();
    if (name == "T2C") return test::caseTwoCentres();
    return test::readDeck(name);
}

void crown(const std::string& label, const CaseModel& m, engine::EngineOptions o)
{
    const auto start = std::chrono::steady_clock::now();
    try {
        const engine::AnalysisResult r = engine::analyse(m, o);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        for (const auto& cant : r.cantilevers) {
            if (std::abs(cant.angle) > 1e-9) continue;
            double crest = 0, low = 0, zCrest = -1e30, zLow = 1e30;
            for (const auto& p : cant.points) {
                if (p.z <= cant.baseElev + 1e-6) continue;
                if (p.z > zCrest) zCrest = p.z, crest = p.radial;
                if (p.z < zLow) zLow = p.z, low = p.radial;
            }
            std::printf("  %-14s nodes %6d  equations %6d  crest (%.1f) %10.6f  lowest arch (%.1f) %10.6f  %.2f s\n",
                        label.c_str(), r.nodes, r.equations, zCrest, crest, zLow, low, seconds);
            if (allRows)
                for (const auto& p : cant.points)
                    if (p.z > cant.baseElev + 1e-6)
                        std::printf("    z %8.2f  radial %10.5f  hoop up %7.1f  down %7.1f\n", p.z, p.radial, p.up.hoop,
                                    p.down.hoop);
        }
    } catch (const std::exception& e) {
        std::printf("  %-14s %s\n", label.c_str(), e.what());
        if (o.rock == engine::RockModel::Block) {
            // Where: the block's layer of the first element that cannot be computed.
            const CaseModel& cm = m;
            const engine::DamGeometry g(cm);
            engine::DamCase c = engine::readCase(cm, g);
            c.rock = o.rock;
            c.rockBlockDepth = o.rockBlockDepth;
            const engine::DamAssembly a =
                engine::assembleDam(c, g, engine::meshDam(g, c, engine::meshLevel(o.level ? o.level : 1)));
            engine::solid::Model one = a.rockPart;
            for (size_t k = 0; k < a.rockPart.elements.size(); ++k) {
                one.elements = {a.rockPart.elements[k]};
                try {
                    engine::solid::checkJacobians(one);
                } catch (const std::exception&) {
                    const engine::solid::Vec3& x = one.nodes[one.elements[0].nodes[0]];
                    std::printf("    block element %zu (block element index %zu) at %.1f %.1f %.1f\n", k,
                                k, x.x(), x.y(), x.z());
                }
            }
        }
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<double> depths;
    int level = 1, first = 1;
    double erOfEc = 0;
    while (first + 1 < argc && argv[first][0] == '-') {
        const std::string opt = argv[first];
        if (opt == "--depths") {
            std::stringstream ss(argv[first + 1]);
            std::string t;
            while (std::getline(ss, t, ',')) depths.push_back(std::stod(t));
        } else if (opt == "--crown") {
            allRows = argv[first + 1] == std::string("all");
        } else if (opt == "--er-of-ec") {
            erOfEc = std::stod(argv[first + 1]);
        } else if (opt == "--level") {
            level = std::stoi(argv[first + 1]);
        } else {
            break;
        }
        first += 2;
    }
    if (depths.empty() || first >= argc) {
        std::fprintf(stderr, "usage: velta_rock_depth_study --depths 1,2,3 [--level N] [--er-of-ec X] [--crown all] CASE...\n");
        return 2;
    }
    for (int a = first; a < argc; ++a) {
        CaseModel m = caseNamed(argv[a]);
        if (erOfEc > 0) m.Er = {erOfEc * m.Ec[0], erOfEc * m.Ec[1]};
        std::printf("%s\n", argv[a]);
        engine::EngineOptions o;
        o.level = level;
        o.rock = engine::RockModel::Rigid;
        crown("rigid", m, o);
        o.rock = engine::RockModel::Vogt;
        crown("Vogt", m, o);
        o.rock = engine::RockModel::Block;
        for (double d : depths) {
            o.rockBlockDepth = d;
            char label[32];
            std::snprintf(label, sizeof label, "block %.2g H", d);
            crown(label, m, o);
        }
    }
    return 0;
}
