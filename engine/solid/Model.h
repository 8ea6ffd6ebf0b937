#pragma once
// A linear-elastic solid model as plain values: nodes, quadratic elements,
// materials, nodal loads, supports and extra stiffness blocks (the rock's
// springs). The dam's mesh is built into one of these; the element library
// assembles and solves it, and the same values are written out for an
// independent finite-element code.
#include <Eigen/Dense>
#include <array>
#include <string>
#include <vector>

namespace velta::engine::solid {

using Vec3 = Eigen::Vector3d;
using Stress = Eigen::Matrix<double, 6, 1>; // sxx, syy, szz, sxy, syz, szx (tension positive)
using Strain = Eigen::Matrix<double, 6, 1>; // exx, eyy, ezz, gxy, gyz, gzx (engineering shears)

// Node numbering inside an element follows the usual convention of
// quadratic solids (the one CalculiX's C3D20 and C3D15 use):
//   Hex20:   corners 0-3 on the face zeta = -1 and 4-7 on zeta = +1 (same
//            order), mid-edge 8-11 on edges 0-1, 1-2, 2-3, 3-0, 12-15 on
//            edges 4-5, 5-6, 6-7, 7-4, and 16-19 on edges 0-4, 1-5, 2-6, 3-7.
//   Wedge15: corners 0-2 on zeta = -1 and 3-5 on zeta = +1, mid-edge 6-8 on
//            edges 0-1, 1-2, 2-0, 9-11 on edges 3-4, 4-5, 5-3, and 12-14 on
//            edges 0-3, 1-4, 2-5.
enum class ElementType { Hex20, Wedge15 };

inline int nodeCount(ElementType t) { return t == ElementType::Hex20 ? 20 : 15; }

struct Material {
    double E = 0;     // lb/ft2
    double nu = 0;    // Poisson's ratio
    double alpha = 0; // thermal expansion, 1/degF
    double unitWeight = 0; // lb/ft3 (the body force is given separately as loads)
    // Stiffness along `hoop` (the horizontal direction of the arch at the
    // element) as a fraction of the isotropic one: 1 isotropic; a small
    // value makes the vertical joints open (independent cantilevers).
    double hoopFactor = 1;
};

struct Element {
    ElementType type = ElementType::Hex20;
    std::array<int, 20> nodes{}; // the first nodeCount(type) are used
    int material = 0;
    // Unit horizontal direction of the arch at the element (used by an
    // orthotropic material and by free hoop strains).
    Vec3 hoop = Vec3::UnitX();
    // Free strains at the element's nodes (temperature), global axes.
    // Empty when none.
    std::vector<Strain> freeStrain;
};

// A stiffness block between any dofs (dof = 3 * node + direction), added to
// the global matrix as it stands: K(dofs[i], dofs[j]) += k(i, j).
struct StiffnessBlock {
    std::vector<int> dofs;
    Eigen::MatrixXd k;
};

// How the wedges are integrated over their triangle (times 3-point Gauss
// across it): the 7-point rule exact to degree 5 (21 points), or the 3-point
// rule of CalculiX's C3D15 (9 points), which a node-by-node comparison with
// CalculiX needs.
enum class WedgeRule { Points21, Points9 };

struct Model {
    std::vector<Vec3> nodes;
    std::vector<Element> elements;
    std::vector<Material> materials;
    std::vector<StiffnessBlock> springs;
    std::vector<int> fixedDofs; // held at zero displacement
    WedgeRule wedgeRule = WedgeRule::Points21;
    int dofCount() const { return 3 * int(nodes.size()); }
};

// A face of an element as its 8 (quadrilateral) or 6 (triangular) nodes,
// corners first, then the mid-edge nodes in the same order as the corners.
struct Face {
    std::vector<int> nodes;
};

} // namespace velta::engine::solid
