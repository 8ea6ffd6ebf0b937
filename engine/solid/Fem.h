#pragma once
// The element library and the solution of a solid model: quadratic
// hexahedra and wedges integrated by Gauss quadrature, consistent nodal
// loads, a supernodal sparse Cholesky factorisation (CHOLMOD), and the
// recovery of stresses and reactions.
#include <Eigen/Sparse>
#include <memory>
#include <utility>
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

// Global stiffness: the elements and the spring blocks, supports not
// applied; and, when asked, the nodal forces of the free strains.
Eigen::SparseMatrix<double> assemble(const Model& m, Eigen::VectorXd* freeStrainForces = nullptr);

// The nodal forces of the free strains alone (sum w det J B^T D e0).
Eigen::VectorXd freeStrainLoads(const Model& m);

// A factorised stiffness with the supports applied; solves any number of
// load vectors with the one factorisation.
class Solver {
public:
    explicit Solver(const Model& m);
    // A model whose matrix has the pattern of samePattern's (same elements'
    // nodes, springs' dofs and supports; other materials or spring values)
    // reuses its ordering and symbolic factor. Throws std::invalid_argument
    // when the patterns differ.
    Solver(const Model& m, const Solver& samePattern);
    ~Solver();
    Eigen::VectorXd solve(const Eigen::VectorXd& f) const; // full vector, zeros at fixed dofs
    // The assembled stiffness of the elements and the springs, supports not
    // applied (assemble(m)).
    const Eigen::SparseMatrix<double>& stiffness() const;
    int equations() const;

    struct Impl;

private:
    explicit Solver(std::unique_ptr<Impl> impl);
    friend std::pair<std::unique_ptr<Solver>, std::unique_ptr<Solver>> factoriseTogether(const Model&, const Model&);
    std::unique_ptr<Impl> impl_;
};

// Two models of the same pattern (as for Solver(m, samePattern)): one
// analysis, and the two matrices assembled and factorised at the same time
// on two threads.
std::pair<std::unique_ptr<Solver>, std::unique_ptr<Solver>> factoriseTogether(const Model& a, const Model& b);

// K u - f at every dof, K the stiffness with the springs: the reactions of
// the supports at the fixed dofs, the out-of-balance (round-off) at the
// free ones. The springs' own forces are not in it.
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
