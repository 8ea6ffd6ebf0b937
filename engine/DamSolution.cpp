#include "engine/DamSolution.h"

#include <stdexcept>

#include "engine/solid/Fem.h"

namespace velta::engine {

namespace {

LoadSolution solveOne(const solid::Model& m, const Eigen::VectorXd& f, int* equations)
{
    LoadSolution s;
    s.f = f;
    if (!f.allFinite()) throw EngineError("the loads cannot be computed on this geometry");
    try {
        const solid::Solver solver(m);
        if (equations) *equations = solver.equations();
        s.u = solver.solve(f);
        if (!s.u.allFinite()) throw EngineError("the system of equations is singular: the dam is not held");
        // Reactions of the held dofs; the springs' forces on the rock.
        const Eigen::VectorXd r = solid::reactions(solver, s.u, f);
        s.rock = Eigen::VectorXd::Zero(f.size());
        std::vector<char> held(f.size(), 0);
        for (int d : m.fixedDofs) {
            held[d] = 1;
            s.rock(d) = -r(d);
        }
        for (const solid::StiffnessBlock& b : m.springs) {
            Eigen::VectorXd ub(b.dofs.size());
            for (size_t i = 0; i < b.dofs.size(); ++i) ub(i) = s.u(b.dofs[i]);
            const Eigen::VectorXd fb = b.k * ub;
            for (size_t i = 0; i < b.dofs.size(); ++i) s.rock(b.dofs[i]) += fb(i);
        }
        // Out of balance of the free dofs: internal forces of the concrete
        // and springs against the loads.
        const Eigen::VectorXd ku = solver.stiffness() * s.u;
        Eigen::VectorXd res = ku - f;
        Eigen::VectorXd springForce = s.rock;
        for (int d : m.fixedDofs) springForce(d) = 0;
        // The stiffness may or may not hold the springs; take the smaller.
        Eigen::VectorXd res2 = res + springForce;
        for (int d = 0; d < res.size(); ++d)
            if (held[d]) res(d) = res2(d) = 0;
        const double fn = f.norm();
        s.residual = fn > 0 ? std::min(res.norm(), res2.norm()) / fn : 0;
    } catch (const EngineError&) {
        throw;
    } catch (const std::exception& e) {
        throw EngineError(std::string("the solid model cannot be solved: ") + e.what());
    }
    return s;
}

} // namespace

DamSolution solveDam(const DamAssembly& a)
{
    DamSolution s;
    s.main = solveOne(a.model, a.load, &s.equations);
    if (a.weightSeparate) s.weight = solveOne(a.weightModel, a.weightLoad, nullptr);
    return s;
}

} // namespace velta::engine
