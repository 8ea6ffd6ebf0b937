#pragma once
// The element library and the solution of a solid model: quadratic
// hexahedra and wedges integrated by Gauss quadrature, consistent nodal
// loads, a supernodal sparse Cholesky factorisation (CHOLMOD), and the
// recovery of stresses and reactions.
#include <Eigen/Sparse>
#include <memory>
#include <vector>

#include "engine/solid/Model.h"

namespace velta::engine::solid {

// Refuses elements whose Jacobian is not positive at every integration
// point; throws std::runtime_error naming the element.
void checkJacobians(const Model& m);

// The faces of an element (6 for Hex20, 5 for Wedge15) in the order of
// CalculiX's face numbers, each with its nodes in right-hand order about the
// outward normal.
std::vector<Face> facesOf(const Element& el);

// The faces bounding the model: those no other element shares (by corner
// nodes), with their element and the face's number in facesOf.
struct BoundaryFace {
    Face face;
    int element = 0;
    int side = 0;
};
std::vector<BoundaryFace> boundaryFaces(const Model& m);

// Consistent nodal forces (global vector, 3 per node) of a pressure acting
// on a face, given at the face's nodes (lb/ft2, positive pushing into the
// element the face bounds, i.e. against the face's outward normal). The
// face's outward normal is the one of its nodes' right-hand order seen from
// outside. Exact for a pressure linear over the face.
void addFacePressure(const Model& m, const Face& face, const std::vector<double>& pressureAtNodes,
                     Eigen::VectorXd& f);

// Consistent nodal forces of a uniform body force (lb/ft3) over every
// element.
void addBodyForce(const Model& m, const Vec3& force, Eigen::VectorXd& f);

// Global stiffness (supports not applied) and the nodal forces of the free
// strains.
Eigen::SparseMatrix<double> assemble(const Model& m, Eigen::VectorXd* freeStrainForces = nullptr);

// A factorised stiffness with the supports applied; solves any number of
// load vectors with the one factorisation.
class Solver {
public:
    explicit Solver(const Model& m);
    ~Solver();
    Eigen::VectorXd solve(const Eigen::VectorXd& f) const; // full vector, zeros at fixed dofs
    const Eigen::SparseMatrix<double>& stiffness() const;  // without supports
    int equations() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Reactions: K u - f at every dof (non-zero at supports and, through the
// springs, wherever the rock holds the dam).
Eigen::VectorXd reactions(const Solver& s, const Eigen::VectorXd& u, const Eigen::VectorXd& f);

// Stress at natural coordinates of an element (tension positive).
Stress stressAt(const Model& m, int element, const Vec3& natural, const Eigen::VectorXd& u);

// Stresses at an element's nodes extrapolated from its Gauss points,
// one per element node, in element node order.
std::vector<Stress> nodalStresses(const Model& m, int element, const Eigen::VectorXd& u);

// The elasticity matrix (global axes, engineering shears) of a material at
// an element whose hoop direction is `hoop`.
Eigen::Matrix<double, 6, 6> elasticity(const Material& mat, const Vec3& hoop);

// Natural coordinates of an element's node (for stressAt).
Vec3 naturalOfNode(ElementType t, int localNode);

} // namespace velta::engine::solid
