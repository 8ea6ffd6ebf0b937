#pragma once
// An independent check of the element library: the same mesh, materials,
// springs, supports and nodal loads written as a CalculiX input (C3D20 and
// C3D15 elements), solved by `ccx`, and its displacements compared node by
// node with ours.
#include <Eigen/Dense>
#include <string>

#include "engine/solid/Model.h"

namespace velta::engine::solid {

// The CalculiX input of a model under the nodal loads f (3 per node).
// Isotropic materials are written as such; an open-joint material as the
// full anisotropic matrix of each element. The spring blocks are written as
// springs to the ground (SPRING1) and between pairs of dofs (SPRING2, of two
// nodes or of one); a block that is not symmetric is refused
// (std::runtime_error saying why).
std::string calculixInput(const Model& m, const Eigen::VectorXd& f);

// The CalculiX program: $VELTA_CCX, else `ccx` on the search path; empty
// when none is found.
std::string findCalculix();

struct CalculixResult {
    Eigen::VectorXd u;    // displacements, 3 per node
    double seconds = 0;   // wall time of the ccx run
    std::string log;      // what ccx printed
};

// Writes the input in a temporary folder, runs ccx there and reads back the
// displacements. Throws std::runtime_error when ccx is missing, fails or
// prints no displacements.
CalculixResult runCalculix(const Model& m, const Eigen::VectorXd& f, const std::string& ccx = findCalculix());

// Reads the displacements (*NODE PRINT U) of a CalculiX .dat file's text.
Eigen::VectorXd readCalculixDisplacements(const std::string& datText, int nodeCount);

struct DisplacementComparison {
    double largest = 0;       // max |u| (ours) over the nodes
    double maxDifference = 0; // max |u_ours - u_other| over the nodes
    int worstNode = -1;
    double relative() const { return largest > 0 ? maxDifference / largest : maxDifference; }
};
DisplacementComparison compareDisplacements(const Eigen::VectorXd& ours, const Eigen::VectorXd& other);

} // namespace velta::engine::solid
