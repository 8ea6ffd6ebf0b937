#pragma once
// The solution stage: the displacements of the dam's solid model under its
// loads, and the forces between the dam and the rock.
#include <Eigen/Dense>

#include "engine/DamAssembly.h"

namespace velta::engine {

struct LoadSolution {
    Eigen::VectorXd u;    // displacements, ft (3 per node)
    Eigen::VectorXd f;    // applied nodal forces, lb
    Eigen::VectorXd rock; // forces of the dam on the rock at each dof, lb
    double residual = 0;  // |K u - f| over the free dofs / |f|, K the concrete and the springs
};

struct DamSolution {
    LoadSolution main;   // the adjusted structure
    LoadSolution weight; // independent cantilevers under the weight (empty when none)
    int equations = 0;
};

DamSolution solveDam(const DamAssembly& a);

} // namespace velta::engine
