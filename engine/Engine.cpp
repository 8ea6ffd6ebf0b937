#include "engine/Engine.h"

#include "engine/DamAssembly.h"
#include "engine/DamCase.h"
#include "engine/DamMesh.h"
#include "engine/DamResults.h"
#include "engine/DamSolution.h"
#include "engine/solid/Fem.h"

namespace velta::engine {

// case -> geometry -> mesh -> assembly -> solution -> results; the report
// is composed from the results by Output.
AnalysisResult analyse(const CaseModel& m, const EngineOptions& options)
{
    const DamGeometry g(m);
    DamCase c = readCase(m, g);
    c.rock = options.rock;
    c.rockBlockDepth = options.rockBlockDepth;
    CantileverLayout layout;
    try {
        layout = computeCantileverLayout(m.ArcTab, m.NbArcs, kImperial, m.FaceTab[kUpstreamLoC],
                                         m.NbCenter == 2 ? m.FaceTab[kRightUpstreamLoC] : m.FaceTab[kUpstreamLoC],
                                         g.radius[kLeft], g.radius[kRight]);
    } catch (const std::exception& e) {
        throw EngineError(std::string("the cantilevers cannot be placed: ") + e.what());
    }
    if (layout.first < 0 || layout.last >= kConsSlots) throw EngineError("too many cantilevers");
    DamMesh mesh = meshDam(g, c, meshLevel(options.level > 0 ? options.level : kDefaultLevel));
    try {
        solid::checkJacobians(mesh.model);
    } catch (const std::exception& e) {
        throw EngineError(std::string("the geometry gives elements that cannot be computed: ") + e.what());
    }
    const DamAssembly a = assembleDam(c, g, std::move(mesh));
    if (a.rock == RockModel::Block) {
        try {
            solid::checkJacobians(a.rockPart);
        } catch (const std::exception& e) {
            throw EngineError(std::string("the rock block under the contact gives elements that cannot be computed: ") +
                              e.what());
        }
    }
    const DamSolution s = solveDam(a);
    return presentResults(g, c, layout, a, s);
}

} // namespace velta::engine
