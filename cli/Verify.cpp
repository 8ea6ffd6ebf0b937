// velta-cli verify CASE.dat OUTDIR [--level N]: builds the case's solid
// model as the engine does, solves it, has CalculiX (ccx) solve the same
// mesh, materials, springs, supports and loads, and writes the node-by-node
// comparison to OUTDIR/verify.csv and the CalculiX input to OUTDIR/solid.inp.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <sstream>
#include <string>

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "deck/DeckWriter.h"
#include "engine/DamAssembly.h"
#include "engine/solid/Calculix.h"
#include "engine/solid/Fem.h"

namespace velta::cli {

namespace {

void say(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

int usage()
{
    say("usage: velta-cli verify CASE.dat OUTDIR [--level N]");
    return 2;
}

} // namespace

int verify(int argc, char** argv)
{
    int level = engine::kDefaultLevel;
    if (argc != 3 && argc != 5) return usage();
    if (!std::strncmp(argv[1], "--", 2) || !std::strncmp(argv[2], "--", 2)) return usage();
    if (argc == 5) {
        if (std::strcmp(argv[3], "--level")) return usage();
        char* end = nullptr;
        const long n = std::strtol(argv[4], &end, 10);
        if (*end || n < 1 || n > engine::kMaxLevel) {
            say("velta-cli verify: the level must be a whole number from 1 to " + std::to_string(engine::kMaxLevel));
            return 2;
        }
        level = int(n);
    }
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        static int appArgc = 1;
        static char appName[] = "velta-cli";
        static char* appArgv[] = {appName, nullptr};
        app = std::make_unique<QCoreApplication>(appArgc, appArgv);
    }
    const std::string ccx = engine::solid::findCalculix();
    if (ccx.empty()) {
        say("velta-cli verify: CalculiX (ccx) not found; install calculix-ccx or set VELTA_CCX");
        return 1;
    }
    BatchSession batch;
    Session& s = batch.session;
    if (!openCase(s, argv[1])) return 1;
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(outDir)) {
        say("velta-cli verify: cannot create " + std::string(argv[2]));
        return 1;
    }
    try {
        engine::DamAssembly a = engine::buildSolidModel(s.model, level);
        engine::solid::Model& m = a.model;
        // CalculiX integrates its wedges with 9 points: both solutions use
        // that rule so that the meshes and element types are identical.
        m.wedgeRule = engine::solid::WedgeRule::Points9;
        QElapsedTimer timer;
        timer.start();
        const engine::solid::Solver solver(m);
        const Eigen::VectorXd u = solver.solve(a.load);
        const double ours = timer.nsecsElapsed() * 1e-9;
        writeFileAtomically(QDir(outDir).filePath("solid.inp").toStdString(),
                            engine::solid::calculixInput(m, a.load));
        const engine::solid::CalculixResult r = engine::solid::runCalculix(m, a.load, ccx);
        const engine::solid::DisplacementComparison c = engine::solid::compareDisplacements(u, r.u);

        std::ostringstream csv;
        csv.precision(10);
        csv << "node,x_ft,y_ft,z_ft,ux_ft,uy_ft,uz_ft,ccx_ux_ft,ccx_uy_ft,ccx_uz_ft,difference_ft,difference_of_largest\n";
        for (size_t n = 0; n < m.nodes.size(); ++n) {
            const double d = (u.segment<3>(3 * n) - r.u.segment<3>(3 * n)).norm();
            csv << n + 1 << ',' << m.nodes[n].x() << ',' << m.nodes[n].y() << ',' << m.nodes[n].z() << ','
                << u[3 * n] << ',' << u[3 * n + 1] << ',' << u[3 * n + 2] << ',' << r.u[3 * n] << ','
                << r.u[3 * n + 1] << ',' << r.u[3 * n + 2] << ',' << d << ',' << (c.largest > 0 ? d / c.largest : 0)
                << '\n';
        }
        writeFileAtomically(QDir(outDir).filePath("verify.csv").toStdString(), csv.str());

        std::printf("mesh: %zu nodes, %zu elements, %d equations (level %d)\n", m.nodes.size(), m.elements.size(),
                    solver.equations(), level);
        std::printf("largest displacement: %.6g ft\n", c.largest);
        std::printf("maximum difference: %.3g ft at node %d, %.2e of the largest\n", c.maxDifference,
                    c.worstNode + 1, c.relative());
        std::printf("time: VELTA assembly and solution %.3f s, CalculiX %.3f s\n", ours, r.seconds);
        if (a.weightSeparate)
            std::printf("(the weight on independent cantilevers is a second model, not compared)\n");
        if (c.relative() > 1e-6) {
            say("velta-cli verify: the solutions differ by more than 1e-6 of the largest displacement");
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        say(std::string("velta-cli verify: ") + e.what());
        return 1;
    }
}

} // namespace velta::cli
