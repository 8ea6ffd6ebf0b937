// velta-cli verify CASE.dat OUTDIR [--level N] [--rock vogt|block|rigid|all]:
// builds every solid model the engine solves for the case (the adjusted
// structure and, when the weight is carried by independent cantilevers, the
// weight's model with every joint open), with the chosen rock (Vogt's
// springs by default, the meshed block, rigid rock, or all three), solves
// each, has CalculiX (ccx) solve the same mesh, materials, springs, supports
// and loads, and writes the node-by-node comparison of every model to
// OUTDIR/verify.csv, a line per model to OUTDIR/verify-summary.csv and the
// CalculiX inputs to OUTDIR/MODEL_ROCK.inp.
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
#include <vector>

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "deck/DeckWriter.h"
#include "engine/DamAssembly.h"
#include "engine/solid/Calculix.h"
#include "engine/solid/Fem.h"

namespace velta::cli {

namespace {

// Agreement required of every model, relative to its largest displacement.
constexpr double kTolerance = 1e-6;

void say(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

int usage()
{
    say("usage: velta-cli verify CASE.dat OUTDIR [--level N] [--rock vogt|block|rigid|all]");
    return 2;
}

const char* rockName(engine::RockModel r)
{
    switch (r) {
    case engine::RockModel::Vogt: return "vogt";
    case engine::RockModel::Block: return "block";
    case engine::RockModel::Rigid: return "rigid";
    }
    return "?";
}

} // namespace

int verify(int argc, char** argv)
{
    int level = engine::kDefaultLevel;
    std::vector<engine::RockModel> rocks;
    bool levelSeen = false;
    if (argc < 3 || !std::strncmp(argv[1], "--", 2) || !std::strncmp(argv[2], "--", 2)) return usage();
    for (int i = 3; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--level") && !levelSeen && i + 1 < argc) {
            levelSeen = true;
            char* end = nullptr;
            const long n = std::strtol(argv[++i], &end, 10);
            if (*end || end == argv[i] || n < 1 || n > engine::kMaxLevel) {
                say("velta-cli verify: the level must be a whole number from 1 to " +
                    std::to_string(engine::kMaxLevel));
                return 2;
            }
            level = int(n);
        } else if (!std::strcmp(argv[i], "--rock") && rocks.empty() && i + 1 < argc) {
            const std::string r = argv[++i];
            if (r == "vogt") rocks = {engine::RockModel::Vogt};
            else if (r == "block") rocks = {engine::RockModel::Block};
            else if (r == "rigid") rocks = {engine::RockModel::Rigid};
            else if (r == "all") rocks = {engine::RockModel::Vogt, engine::RockModel::Block, engine::RockModel::Rigid};
            else {
                say("velta-cli verify: the rock model must be vogt, block, rigid or all");
                return 2;
            }
        } else {
            return usage();
        }
    }
    if (rocks.empty()) rocks = {engine::RockModel::Vogt};

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
        std::ostringstream csv, summary;
        csv.precision(10);
        summary.precision(6);
        csv << "model,rock,node,x_ft,y_ft,z_ft,ux_ft,uy_ft,uz_ft,ccx_ux_ft,ccx_uy_ft,ccx_uz_ft,difference_ft,"
               "difference_of_largest\n";
        summary << "model,rock,nodes,elements,equations,largest_ft,max_difference_ft,worst_node,"
                   "difference_of_largest,within_tolerance,velta_s,ccx_s,wedges_21_points_of_largest\n";
        bool allWithin = true;
        for (const engine::RockModel rock : rocks) {
            engine::DamAssembly a = engine::buildSolidModel(s.model, level, rock);
            // Every model the engine solves for the case with this rock.
            struct Compared {
                const char* name;
                engine::solid::Model* model;
                const Eigen::VectorXd* load;
            };
            std::vector<Compared> models = {{"adjusted", &a.model, &a.load}};
            if (a.weightSeparate) models.push_back({"weight", &a.weightModel, &a.weightLoad});
            for (const Compared& cm : models) {
                engine::solid::Model& m = *cm.model;
                const std::string label = std::string(cm.name) + "_" + rockName(rock);
                // The engine refuses elements with a Jacobian that is not
                // positive somewhere; so does the comparison.
                engine::solid::checkJacobians(m);
                // The engine integrates its wedges with 21 points. CalculiX
                // integrates its C3D15 with 9: both solutions here use that
                // rule so that the meshes and element types are identical;
                // how far the engine's own rule moves the solution is shown
                // beside it.
                m.wedgeRule = engine::solid::WedgeRule::Points21;
                const Eigen::VectorXd u21 = engine::solid::Solver(m).solve(*cm.load);
                m.wedgeRule = engine::solid::WedgeRule::Points9;
                QElapsedTimer timer;
                timer.start();
                const engine::solid::Solver solver(m);
                const Eigen::VectorXd u = solver.solve(*cm.load);
                const double ours = timer.nsecsElapsed() * 1e-9;
                writeFileAtomically(QDir(outDir).filePath(QString::fromStdString(label + ".inp")).toStdString(),
                                    engine::solid::calculixInput(m, *cm.load));
                const engine::solid::CalculixResult r = engine::solid::runCalculix(m, *cm.load, ccx);
                const engine::solid::DisplacementComparison c = engine::solid::compareDisplacements(u, r.u);
                const engine::solid::DisplacementComparison rule = engine::solid::compareDisplacements(u, u21);
                const bool within = c.relative() <= kTolerance;
                allWithin = allWithin && within;

                for (size_t n = 0; n < m.nodes.size(); ++n) {
                    const double d = (u.segment<3>(3 * n) - r.u.segment<3>(3 * n)).norm();
                    csv << cm.name << ',' << rockName(rock) << ',' << n + 1 << ',' << m.nodes[n].x() << ','
                        << m.nodes[n].y() << ',' << m.nodes[n].z() << ',' << u[3 * n] << ',' << u[3 * n + 1] << ','
                        << u[3 * n + 2] << ',' << r.u[3 * n] << ',' << r.u[3 * n + 1] << ',' << r.u[3 * n + 2] << ','
                        << d << ',' << (c.largest > 0 ? d / c.largest : 0) << '\n';
                }
                summary << cm.name << ',' << rockName(rock) << ',' << m.nodes.size() << ',' << m.elements.size() << ','
                        << solver.equations() << ',' << c.largest << ',' << c.maxDifference << ',' << c.worstNode + 1
                        << ',' << c.relative() << ',' << (within ? "yes" : "no") << ',' << ours << ',' << r.seconds
                        << ',' << rule.relative() << '\n';

                std::printf("%s model, rock %s (%s.inp)\n", cm.name, rockName(rock), label.c_str());
                std::printf("  mesh: %zu nodes, %zu elements, %d equations (level %d)\n", m.nodes.size(),
                            m.elements.size(), solver.equations(), level);
                std::printf("  largest displacement: %.6g ft\n", c.largest);
                std::printf("  maximum difference: %.3g ft at node %d, %.2e of the largest%s\n", c.maxDifference,
                            c.worstNode + 1, c.relative(), within ? "" : " (OUT OF TOLERANCE)");
                std::printf("  time: VELTA assembly and solution %.3f s, CalculiX %.3f s\n", ours, r.seconds);
                std::printf("  the engine's 21-point wedges move the solution by %.2e of the largest\n",
                            rule.relative());
                std::fflush(stdout);
            }
        }
        writeFileAtomically(QDir(outDir).filePath("verify.csv").toStdString(), csv.str());
        writeFileAtomically(QDir(outDir).filePath("verify-summary.csv").toStdString(), summary.str());
        if (!allWithin) {
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
