#include "engine/DamSolution.h"

#include <memory>
#include <stdexcept>

#include "engine/solid/Fem.h"

namespace velta::engine {

namespace {

// The displacements of one model under its loads with a factorised
// stiffness; the forces of the dam on the rock (the springs' forces, or the
// held dofs' reactions) and the out-of-balance of the free equations.
LoadSolution solveWith(const solid::Solver& solver, const solid::Model& m, const Eigen::VectorXd& f)
{
    LoadSolution s;
    s.f = f;
    s.u = solver.solve(f);
    if (!s.u.allFinite()) throw EngineError("the system of equations is singular: the dam is not held");
    // K u - f with K the concrete and the springs: the held dofs'
    // reactions, and round-off at every free dof.
    Eigen::VectorXd r = solid::reactions(solver, s.u, f);
    s.rock = Eigen::VectorXd::Zero(f.size());
    for (int d : m.fixedDofs) {
        s.rock(d) = -r(d);
        r(d) = 0;
    }
    for (const solid::StiffnessBlock& b : m.springs) {
        Eigen::VectorXd ub(b.dofs.size());
        for (size_t i = 0; i < b.dofs.size(); ++i) ub(i) = s.u(b.dofs[i]);
        const Eigen::VectorXd fb = b.k * ub;
        for (size_t i = 0; i < b.dofs.size(); ++i) s.rock(b.dofs[i]) += fb(i);
    }
    const double fn = f.norm();
    s.residual = fn > 0 ? r.norm() / fn : 0;
    return s;
}

template <class F>
auto guarded(F&& f)
{
    try {
        return f();
    } catch (const EngineError&) {
        throw;
    } catch (const std::exception& e) {
        throw EngineError(std::string("the solid model cannot be solved: ") + e.what());
    }
}

} // namespace

DamSolution solveDam(const DamAssembly& a)
{
    DamSolution s;
    if (!a.load.allFinite() || (a.weightSeparate && !a.weightLoad.allFinite()))
        throw EngineError("the loads cannot be computed on this geometry");
    guarded([&] {
        if (!a.weightSeparate) {
            const solid::Solver solver(a.model);
            s.equations = solver.equations();
            s.main = solveWith(solver, a.model, a.load);
            return 0;
        }
        // Same mesh, springs and supports: one analysis serves both, and
        // the two factorisations run side by side.
        const auto [grouted, open] = solid::factoriseTogether(a.model, a.weightModel);
        s.equations = grouted->equations();
        s.main = solveWith(*grouted, a.model, a.load);
        s.weight = solveWith(*open, a.weightModel, a.weightLoad);
        return 0;
    });
    return s;
}

} // namespace velta::engine
